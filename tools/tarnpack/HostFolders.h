#pragma once
// Reading the author's folders on the machine tarnpack runs on, names as the bytes the host
// gives them.

#include <optional>
#include <string>
#include <vector>

namespace tarnpack {

struct FolderItem {
  std::string name;
  bool folder = false;
};

// The files and folders in `path`, sorted by name; nothing when it cannot be read. Links to
// folders are left out, so a walk never loops.
std::optional<std::vector<FolderItem>> ListFolder(const std::string& path);
bool IsFolder(const std::string& path);
// A file, or a link to one.
bool IsFile(const std::string& path);

}  // namespace tarnpack
