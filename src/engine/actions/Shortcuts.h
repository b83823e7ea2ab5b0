#pragma once
// Shortcuts (shell links) of the product: the single operation every shortcut goes through
// (the worker's, the finish page's optional ones, the uninstall shortcut) and the reading of
// the project's shortcut entries.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/actions/RegistryKey.h"
#include "engine/session/SetupSession.h"
#include "project/Task.h"

namespace tarn::engine {

// Where a shortcut file goes. Projects also carry the codes 5 and 6, which write nothing, so
// the operation takes any code as a plain integer.
enum class ShortcutLocation : std::int32_t {
  Desktop = 4,
  ProgramGroup = 7,
  Startup = 8,
  QuickLaunch = 9,
};

// An internet address rather than a file: it begins with "HTTP://" in any letter case.
bool IsWebAddress(const std::string& target);

// Saves a shortcut named `description` to `target` (already expanded) in the folder of
// `location`; for Quick Launch, `alternate` picks the first of the two folders. The shortcut
// file is listed for the roll-back, and with `record` and a holder its path is also stored on
// the holder's key as "FileLink" + `index`. A program group shortcut without a program folder,
// and any location without a known folder, write nothing. Failures are silent.
void CreateShortcut(SetupSession& s, const std::string& description, const std::string& target,
                    const std::string& arguments, const std::string& iconFile,
                    std::int32_t location, bool alternate, bool record, std::int32_t index,
                    RegistryKey* holder);

// One CreateShortcutMenu subtask, read and expanded.
struct ShortcutEntry {
  std::string description;
  std::string target;
  std::string arguments;
  std::string icon;
  bool toGroup = false;
  bool toDesktop = false;
  bool toStartup = false;
  bool toQuickLaunch = false;
  bool offeredAtFinish = false;
};

ShortcutEntry ReadShortcutEntry(SetupSession& s, const project::SubTask& sub);

// Every shortcut of one entry, in the fixed order. With a holder each single shortcut is
// recorded under the next number of `counter`; without one nothing is recorded.
void CreateShortcutSet(SetupSession& s, const ShortcutEntry& e, RegistryKey* holder,
                       std::int32_t& counter);

// The shortcut files CreateShortcutSet makes for one entry, in its order; locations without a
// known folder are left out.
std::vector<std::string> ShortcutFilesOf(SetupSession& s, const ShortcutEntry& e);

// The shortcuts the finish page offered, for each subtask `isTicked` accepts; their paths and
// count are recorded under the product's version key.
void CreateFinishPageShortcuts(SetupSession& s,
                               const std::function<bool(const project::SubTask&)>& isTicked);

// Control ID of the finish page's check box for an offered shortcut.
std::int32_t FinishCheckBoxId(const project::SubTask& subTask);

}  // namespace tarn::engine
