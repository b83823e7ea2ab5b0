#pragma once
// An installation nobody watches (/S): the wizard's steps in the project's order, each with the
// default its page would have shown, the licence accepted by whoever asked for the silent run,
// and every question answered the way that ends the installation safely.

#include "engine/session/InstallHost.h"
#include "engine/session/SetupSession.h"
#include "package/VolumePrompt.h"

namespace tarn::startup {

// Abandons at the first question: a file that cannot be written or a cancel request ends the
// installation, and it is rolled back.
class SilentInstallHost : public engine::InstallHost {
 public:
  void ShowStatus(const std::string&) override {}
  void ShowProgress(std::int32_t) override {}
  bool AskToAbort(const std::string&, const std::string&) override { return true; }
  bool AskAfterWriteError(const std::string&, const std::string&) override { return true; }
  void Finished(engine::InstallEnd) override {}
  bool Watched() const override { return false; }
};

// A volume that is not beside the first one is given up, which abandons the installation.
class SilentVolumePrompt : public package::VolumePrompt {
 public:
  std::optional<std::string> AskForVolume(const std::string&, std::int32_t) override {
    return std::nullopt;
  }
};

// Walks the project's executable tasks on the calling thread and installs at the progress
// step; then creates the shortcuts a finish page would have offered, ticked, but neither
// starts its programs nor restarts the computer. True when the installation completed.
bool RunSilentInstallation(engine::SetupSession& session);

}  // namespace tarn::startup
