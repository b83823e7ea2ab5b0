#pragma once
// Everything the setup program keeps for the length of one run. One object, owned by the
// application and passed by reference, so that every test can build a session of its own.

#include <atomic>
#include <string>

#include "engine/PageMetrics.h"

namespace tarn::engine {

struct SetupSession {
  // Shared lock-free between the user-interface thread and the install worker; each is only
  // ever set to a constant.
  std::atomic<bool> CancelRequested{false};
  // True from the start; false once the user abandons the installation (roll back at exit).
  std::atomic<bool> InstallRunning{false};
  // No further extraction: loading failed, a volume was given up, or the run is over.
  std::atomic<bool> ExtractionOver{false};
  // Set when the installation ran to its end; decides the process exit status.
  std::atomic<bool> InstallCompleted{false};

  PageMetrics Metrics;

  // The installation folder behind "[InstallDir]": a full path, a drive root as "C:\". Set from
  // the project at start-up and from the install path page; path expansion reads it through a
  // project::PathContext built on this member.
  std::string InstallDir;
};

// Process exit status: 0 after a completed installation, 1 otherwise, so scripts can tell.
inline int ExitStatus(const SetupSession& session) { return session.InstallCompleted ? 0 : 1; }

}  // namespace tarn::engine
