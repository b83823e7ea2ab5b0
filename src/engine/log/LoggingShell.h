#pragma once
// The shell with what it does written to the installation log: shortcuts, programs started and
// their exit codes, documents opened, fonts, the restart, and the messages shown. In a silent
// run the messages go to the log only: nobody is there to close a box.

#include <atomic>

#include "engine/log/InstallLog.h"
#include "platform/Shell.h"

namespace tarn::engine {

class LoggingShell : public platform::Shell {
 public:
  LoggingShell(platform::Shell& inner, InstallLog& log) : inner_(inner), log_(log) {}

  // No message box from now on.
  void SetSilent() { silent_ = true; }
  bool Silent() const { return silent_; }

  bool CreateShellLink(const platform::ShellLink& link, const std::string& linkPath) override;
  bool OpenDocument(const std::string& file, const std::string& parameters,
                    const std::string& directory, std::int32_t showCommand) override;
  bool StartProgram(const std::string& commandLine, std::int32_t showCommand) override;
  std::optional<std::uint32_t> RunAndWait(const std::string& commandLine,
                                          std::int32_t showCommand) override;
  void ShowMessage(const std::string& text, const std::string& caption) override;
  bool AddFont(const std::string& path) override;
  void AnnounceFontChange() override { inner_.AnnounceFontChange(); }
  std::unique_ptr<platform::ThreadScope> EnterThread() override { return inner_.EnterThread(); }
  bool RestartComputer() override;
  std::uint32_t CurrentProcessId() override { return inner_.CurrentProcessId(); }
  bool IsProcessRunning(std::uint32_t processId) override {
    return inner_.IsProcessRunning(processId);
  }

 private:
  platform::Shell& inner_;
  InstallLog& log_;
  // Set on the user-interface thread before the worker starts, read by both.
  std::atomic<bool> silent_{false};
};

}  // namespace tarn::engine
