#pragma once
// Facts about the running Windows system.

#include "platform/SystemFacts.h"

namespace tarn::platform {

class Win32SystemFacts : public SystemFacts {
 public:
  std::uint32_t VersionWord() override;
  std::optional<OsVersion> VersionDetails() override;
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
  std::string TempPath() override;
  std::optional<std::string> DesktopDirectory() override;
  std::optional<std::string> UserAppDataDirectory() override;
  std::string ModulePath() override;
  std::string UserName() override;
  std::string ComputerName() override;
  std::uint32_t SystemLocale() override;
  std::uint32_t AnsiCodePage() override;
  std::int32_t DisplayLogPixelsY() override;
};

}  // namespace tarn::platform
