#pragma once
// The two candidate Quick Launch folders of the current user, each ending in a backslash.

#include <functional>
#include <string>

#include "platform/SystemFacts.h"

namespace tarn::engine {

struct QuickLaunchFolders {
  std::string first;
  // Empty where only one copy is made.
  std::string second;
};

constexpr const char* kQuickLaunchTail = "\\Microsoft\\Internet Explorer\\Quick Launch\\";

// On the 98/Me family both lie under the Windows folder. Elsewhere they are derived from the
// shared application data folder `commonAppData`: with "C:\Documents and Settings\All Users
// \Application Data" they are "C:\Documents and Settings\<user>\Application Data\..." and
// "...\<user>.<computer>\Application Data\...". Those two are kept where one of them exists.
// Since Vista neither does ("C:\ProgramData" would even give relative paths): the user's own
// Quick Launch folder below the roaming application data folder `userAppData` is then the
// first, made when missing, and there is no second copy. Both are empty when even that folder
// is unknown: no shortcut beats one in a random place.
QuickLaunchFolders ComputeQuickLaunchFolders(
    bool windows9x, const std::string& windowsDirectory, const std::string& commonAppData,
    const std::string& userName, const std::string& computerName, const std::string& userAppData,
    const std::function<bool(const std::string&)>& exists, std::uint32_t codePage);

}  // namespace tarn::engine
