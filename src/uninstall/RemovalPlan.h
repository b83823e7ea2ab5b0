#pragma once
// What a removal will do, worked out from the record before anything is touched: the
// components to unregister, the shortcuts, files and folders to remove and the registry items
// to delete, each with the reason when it stays.

#include <string>
#include <vector>

#include "engine/session/SetupSession.h"
#include "platform/Registry.h"
#include "uninstall/RemovalServices.h"

namespace tarn::uninstall {

struct PlannedPath {
  std::string path;
  // Files other products may use: they go only when the system's count of users reaches 0.
  bool shared = false;
  // Empty when the path is to be removed.
  std::string keptBecause;
};

struct RegistryItem {
  platform::RootKey root = platform::RootKey::LocalMachine;
  std::string key;    // "\Software\Vendor\App"
  std::string value;  // the value to delete; with `keyOnly` the key goes, when empty
  bool keyOnly = false;
};

struct RemovalPlan {
  std::vector<std::string> components;
  std::vector<PlannedPath> shortcuts;
  std::vector<PlannedPath> files;
  // Deepest first; each goes only when it is empty.
  std::vector<std::string> folders;
  std::vector<RegistryItem> registry;
  std::string uninstaller;
  // Targets that are not absolute local paths inside the record's folders: the record is
  // refused as a whole.
  std::vector<std::string> outside;
};

// The plan for the record loaded into the session, with `recordPath` the record itself.
RemovalPlan PlanRemoval(engine::SetupSession& s, RemovalServices& services,
                        const std::string& recordPath);

}  // namespace tarn::uninstall
