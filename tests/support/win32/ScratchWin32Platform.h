#pragma once
// The real Win32 platform with everything a run would change outside its own files moved into
// a scratch folder: the system's folders and the program's own path, the shell folders of the
// start menu and the common application data. Pauses only add up, so a run takes no longer
// than its work.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemFacts.h"
#include "support/ScratchFolder.h"
#include "support/win32/ShellFolderRegistry.h"

namespace tarn::test {

class ScratchSystemFacts : public platform::Win32SystemFacts {
 public:
  explicit ScratchSystemFacts(const ScratchFolder& dir) : dir_(dir) {}
  std::string WindowsDirectory() override { return dir_.Path("WINDOWS"); }
  std::string SystemDirectory() override { return dir_.Path("WINDOWS\\system32"); }
  std::string TempPath() override { return dir_.Path("temp") + "\\"; }
  std::optional<std::string> DesktopDirectory() override { return dir_.Path("Desktop"); }
  std::optional<std::string> UserAppDataDirectory() override { return dir_.Path("AppData"); }
  std::string ModulePath() override { return dir_.Path("setup\\Setup.exe"); }

 private:
  const ScratchFolder& dir_;
};

class ScratchClock : public platform::Win32Clock {
 public:
  void Pause(std::uint32_t milliseconds) override { paused += milliseconds; }
  std::uint64_t paused = 0;
};

// The services on a scratch folder, which must outlive them. Its folders (WINDOWS, Desktop,
// Start Menu, ...) are made here.
class ScratchWin32Platform {
 public:
  explicit ScratchWin32Platform(const ScratchFolder& dir);

  platform::Platform Services() { return {files, registry, system, clock, shell}; }

  platform::Win32Shell shell;
  // COM for the creating thread, which reads links back.
  const std::unique_ptr<platform::ThreadScope> com = shell.EnterThread();
  platform::Win32FileSystem files;
  ShellFolderRegistry registry;
  ScratchSystemFacts system;
  ScratchClock clock;
};

}  // namespace tarn::test
