#pragma once
// Shell services and program starts on the real Win32 API.

#include "platform/Shell.h"

namespace tarn::platform {

class Win32Shell : public Shell {
 public:
  bool CreateShellLink(const ShellLink& link, const std::string& linkPath) override;
  bool OpenDocument(const std::string& file, const std::string& parameters,
                    const std::string& directory, std::int32_t showCommand) override;
  bool StartProgram(const std::string& commandLine, std::int32_t showCommand) override;
  std::optional<std::uint32_t> RunAndWait(const std::string& commandLine,
                                          std::int32_t showCommand) override;
  void ShowMessage(const std::string& text, const std::string& caption) override;
  bool AddFont(const std::string& path) override;
  void AnnounceFontChange() override;
  std::unique_ptr<ThreadScope> EnterThread() override;
  bool RestartComputer() override;
  std::uint32_t CurrentProcessId() override;
  bool IsProcessRunning(std::uint32_t processId) override;
};

}  // namespace tarn::platform
