#pragma once
// Facts about the running system: version, folders, names, locale, display. Time is the
// clock's (platform/Clock.h).

#include <cstdint>
#include <optional>
#include <string>

namespace tarn::platform {

// The fields of the system's extended version record that the program uses.
struct OsVersion {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::uint32_t platformId = 0;  // 1: the 9x family, 2: the NT family
};

class SystemFacts {
 public:
  virtual ~SystemFacts() = default;

  // The packed version word: low byte major version, next byte minor version, high bit set on
  // the 9x family.
  virtual std::uint32_t VersionWord() = 0;
  // The extended version record; nothing when the system cannot give it.
  virtual std::optional<OsVersion> VersionDetails() = 0;

  // Folders as the system returns them; empty when the call fails. The temporary folder keeps
  // its trailing backslash.
  virtual std::string WindowsDirectory() = 0;
  virtual std::string SystemDirectory() = 0;
  virtual std::string TempPath() = 0;
  // The current user's desktop folder; nothing when the shell cannot give it.
  virtual std::optional<std::string> DesktopDirectory() = 0;
  // The current user's application data folder; nothing when the shell cannot give it.
  virtual std::optional<std::string> UserAppDataDirectory() = 0;
  // The full path of the running program.
  virtual std::string ModulePath() = 0;

  virtual std::string UserName() = 0;
  virtual std::string ComputerName() = 0;

  // The system default locale identifier (0x409, 0x804, ...).
  virtual std::uint32_t SystemLocale() = 0;
  // The ANSI code page that 8-bit text is in (1252, 936, 950, ...).
  virtual std::uint32_t AnsiCodePage() = 0;
  // Vertical pixels per logical inch of the display.
  virtual std::int32_t DisplayLogPixelsY() = 0;
};

}  // namespace tarn::platform
