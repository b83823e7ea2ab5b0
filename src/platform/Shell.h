#pragma once
// Shell services and other programs: shortcuts, opening documents, starting and waiting for
// programs, fonts, restarting the machine.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tarn::platform {

// Window show states passed on to the programs started.
constexpr std::int32_t kShowHidden = 0;
constexpr std::int32_t kShowNormal = 1;
constexpr std::int32_t kShowShow = 5;

// What a shell link holds. Empty arguments and icon file are not set on the link.
struct ShellLink {
  std::string target;
  std::string arguments;
  std::string workingDirectory;
  std::string description;
  std::int32_t showCommand = kShowShow;
  std::string iconFile;
  std::int32_t iconIndex = 0;
};

// What a thread of the program holds for its whole life (COM, on Windows); released when the
// object is destroyed, on the same thread.
class ThreadScope {
 public:
  virtual ~ThreadScope() = default;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Saves `link` as the shortcut file `linkPath` (".Lnk" included by the caller).
  virtual bool CreateShellLink(const ShellLink& link, const std::string& linkPath) = 0;
  // The file's default shell action, with optional parameters and working folder.
  virtual bool OpenDocument(const std::string& file, const std::string& parameters,
                            const std::string& directory, std::int32_t showCommand) = 0;
  // Starts a command line without waiting for it.
  virtual bool StartProgram(const std::string& commandLine, std::int32_t showCommand) = 0;
  // Starts a command line, waits for the program to end and gives its exit code; nothing when
  // the program could not be started.
  virtual std::optional<std::uint32_t> RunAndWait(const std::string& commandLine,
                                                  std::int32_t showCommand) = 0;
  // A message box with an OK button, owned by no window.
  virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
  // Makes a font file available to the running session.
  virtual bool AddFont(const std::string& path) = 0;
  // Tells the running programs that the fonts changed, without waiting for any of them.
  virtual void AnnounceFontChange() = 0;
  // Prepares the calling thread for shell and COM work, for as long as the result lives.
  virtual std::unique_ptr<ThreadScope> EnterThread() = 0;
  // Asks for a forced restart of the computer.
  virtual bool RestartComputer() = 0;
  // This process's number, and whether a process of that number is running now.
  virtual std::uint32_t CurrentProcessId() { return 0; }
  virtual bool IsProcessRunning(std::uint32_t processId) {
    (void)processId;
    return false;
  }
};

}  // namespace tarn::platform
