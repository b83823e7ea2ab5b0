#include "engine/actions/QuickLaunch.h"

#include "text/ByteText.h"

namespace tarn::engine {

namespace {

// "C:\a\b\c" → {"C:\a\", "c"} (the folder two up, with its backslash, and the last name);
// nothing when the path is not at least two folders deep below a drive.
bool SplitTwoUp(const std::string& path, std::uint32_t codePage, std::string& root,
                std::string& last) {
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return false;
  const std::size_t lastSlash = text::FindLastChar(path, '\\', codePage);
  if (lastSlash == text::npos || lastSlash <= 2 || lastSlash + 1 >= path.size()) return false;
  const std::size_t parentSlash = text::FindLastChar(path.substr(0, lastSlash), '\\', codePage);
  if (parentSlash == text::npos) return false;
  root = path.substr(0, parentSlash + 1);
  last = path.substr(lastSlash + 1);
  return true;
}

}  // namespace

QuickLaunchFolders ComputeQuickLaunchFolders(
    bool windows9x, const std::string& windowsDirectory, const std::string& commonAppData,
    const std::string& userName, const std::string& computerName, const std::string& userAppData,
    const std::function<bool(const std::string&)>& exists, std::uint32_t codePage) {
  QuickLaunchFolders described;
  std::string root, last;
  if (windows9x) {
    described = {
        windowsDirectory + "\\Application Data" + kQuickLaunchTail,
        windowsDirectory + "\\Profiles\\" + userName + "\\Application Data" + kQuickLaunchTail};
  } else if (SplitTwoUp(commonAppData, codePage, root, last)) {
    described = {root + userName + "\\" + last + kQuickLaunchTail,
                 root + userName + "." + computerName + "\\" + last + kQuickLaunchTail};
  }
  if (!described.first.empty() && (exists(described.first) || exists(described.second)))
    return described;
  if (userAppData.empty()) return {};
  return {userAppData + kQuickLaunchTail, std::string()};
}

}  // namespace tarn::engine
