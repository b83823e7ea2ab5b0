#pragma once
// One run of the uninstaller, from its command line to its exit status, with the window (or
// nothing, when silent) as the host. Everything is checked before anything is removed.

#include <cstdint>
#include <string>

#include "engine/session/SetupSession.h"
#include "uninstall/CommandLine.h"
#include "uninstall/RemovalPlan.h"
#include "uninstall/RemovalServices.h"
#include "uninstall/UninstallHost.h"
#include "uninstall/UninstallTexts.h"

namespace tarn::uninstall {

// Exit statuses, as installation tools expect them.
constexpr int kExitRemoved = 0;
constexpr int kExitNotRemoved = 1;  // cancelled, record missing or refused
constexpr int kExitBadCommandLine = 2;
constexpr int kExitRestartCompletes = 3010;

class Uninstallation {
 public:
  Uninstallation(engine::SetupSession& s, RemovalServices& services);

  // The texts of the system's language; needed before anything is shown.
  void LoadTexts();
  // Opens the log a command line asks for; false when it cannot be created.
  bool OpenLog(const UninstallCommand& command);
  // Reads and checks the record and plans the removal; false, with the reason in Refusal(),
  // when the record is missing, changed, broken or names a path it must not.
  bool Prepare(const std::string& recordPath);
  // Removes the product; the exit status.
  int Remove(UninstallHost& host, const std::string& runningProgram);

  const UninstallTexts& Texts() const { return texts_; }
  const std::string& Refusal() const { return refusal_; }
  const std::string& Title() const { return title_; }
  const RemovalPlan& Plan() const { return plan_; }

 private:
  engine::SetupSession& s_;
  RemovalServices& services_;
  UninstallTexts texts_;
  RemovalPlan plan_;
  std::string recordPath_;
  std::string refusal_;
  std::string title_;
};

}  // namespace tarn::uninstall
