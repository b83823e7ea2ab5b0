#pragma once
// The two candidate Quick Launch folders of the current user, each ending in a backslash.

#include <string>

#include "platform/SystemFacts.h"

namespace tarn::engine {

struct QuickLaunchFolders {
  std::string first;
  std::string second;
};

constexpr const char* kQuickLaunchTail = "\\Microsoft\\Internet Explorer\\Quick Launch\\";

// On the 98/Me family both lie under the Windows folder. Elsewhere they are derived from the
// shared application data folder `commonAppData`: with "C:\Documents and Settings\All Users
// \Application Data" they are "C:\Documents and Settings\<user>\Application Data\..." and
// "...\<user>.<computer>\Application Data\...". That derivation needs the shared folder to
// lie at least two folders deep; where it does not ("C:\ProgramData" on later systems) it
// would give relative paths, so the user's own application data folder is used for both
// instead (both empty when even that is unknown: no shortcut beats one in a random place).
QuickLaunchFolders ComputeQuickLaunchFolders(bool windows9x, const std::string& windowsDirectory,
                                             const std::string& commonAppData,
                                             const std::string& userName,
                                             const std::string& computerName,
                                             const std::string& userAppData,
                                             std::uint32_t codePage);

}  // namespace tarn::engine
