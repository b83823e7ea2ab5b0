#pragma once
// One run of the install worker as its stages see it: the session, the host, the cancel
// protocol and the pauses. Stages take an InstallRun& and never talk to the host directly for
// the questions, so the cancel rules live in one place.

#include <cstdint>
#include <string>

#include "engine/session/InstallHost.h"
#include "engine/session/SetupSession.h"
#include "project/LanguageKeys.h"

namespace tarn::engine {

// Pause after every folder and file entry, and at every stage gate.
constexpr std::uint32_t kEntryPauseMs = 3;
constexpr std::uint32_t kStageGatePauseMs = 300;

class InstallRun {
 public:
  // A watched run keeps the pauses and has the timer fine enough for them while it lasts.
  InstallRun(SetupSession& session, InstallHost& host);
  ~InstallRun();
  InstallRun(const InstallRun&) = delete;
  InstallRun& operator=(const InstallRun&) = delete;

  SetupSession& Session() { return session_; }
  InstallHost& Host() { return host_; }

  // The status line shows the text of `key`.
  void Status(project::LanguageKey key);
  // When the user pressed Cancel since the last look: asks whether to abandon. Yes ends the
  // installation (InstallRunning false) and gives true, which tells the stage to leave its
  // loop; No clears the request and gives false.
  bool CancelPoint();
  // The short pause after a folder or file entry; none in an unattended run.
  void EntryPause();
  // The pause between stages (none in an unattended run); false when the installation has
  // been abandoned.
  bool StageGate();
  // Whether the installation is still going on.
  bool Running() const { return session_.InstallRunning; }
  // How long the pauses of this run have lasted so far.
  std::uint64_t PausedMicroseconds() const { return paused_; }

 private:
  void Pause(std::uint32_t milliseconds);

  SetupSession& session_;
  InstallHost& host_;
  const bool paced_;
  std::uint64_t paused_ = 0;
};

}  // namespace tarn::engine
