#pragma once
// System facts that a test sets as it likes. The defaults describe an English Windows XP with
// its folders on drive C:.

#include <optional>
#include <string>

#include "platform/SystemFacts.h"

namespace tarn::test {

class FakeSystemFacts : public platform::SystemFacts {
 public:
  std::uint32_t versionWord = 0x0A280105;  // 5.1, build 2600, NT family
  std::optional<platform::OsVersion> versionDetails = platform::OsVersion{5, 1, 2600, 2};
  std::string windowsDirectory = "C:\\WINDOWS";
  std::string systemDirectory = "C:\\WINDOWS\\system32";
  std::string tempPath = "C:\\TEMP\\";
  std::optional<std::string> desktopDirectory =
      std::string("C:\\Documents and Settings\\ann\\Desktop");
  std::optional<std::string> userAppDataDirectory =
      std::string("C:\\Documents and Settings\\ann\\Application Data");
  std::string modulePath = "C:\\Setup\\Setup.exe";
  std::string userName = "ann";
  std::string computerName = "PC1";
  std::uint32_t systemLocale = 0x409;
  std::uint32_t ansiCodePage = 1252;
  std::int32_t logPixelsY = 96;

  // A 9x-family system: version word with the high bit set.
  void Windows9x(std::uint32_t major, std::uint32_t minor);
  // An NT-family system.
  void WindowsNt(std::uint32_t major, std::uint32_t minor);

  std::uint32_t VersionWord() override { return versionWord; }
  std::optional<platform::OsVersion> VersionDetails() override { return versionDetails; }
  std::string WindowsDirectory() override { return windowsDirectory; }
  std::string SystemDirectory() override { return systemDirectory; }
  std::string TempPath() override { return tempPath; }
  std::optional<std::string> DesktopDirectory() override { return desktopDirectory; }
  std::optional<std::string> UserAppDataDirectory() override { return userAppDataDirectory; }
  std::string ModulePath() override { return modulePath; }
  std::string UserName() override { return userName; }
  std::string ComputerName() override { return computerName; }
  std::uint32_t SystemLocale() override { return systemLocale; }
  std::uint32_t AnsiCodePage() override { return ansiCodePage; }
  std::int32_t DisplayLogPixelsY() override { return logPixelsY; }
};

}  // namespace tarn::test
