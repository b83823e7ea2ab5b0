#include "tarnpack/HostFolders.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

namespace tarnpack {

namespace {

struct FolderCloser {
  void operator()(DIR* d) const { closedir(d); }
};

// 0 for neither, 1 for a file, 2 for a folder.
int KindOf(const std::string& path) {
#ifdef _WIN32
  struct _stat64 st {};
  if (_stat64(path.c_str(), &st) != 0) return 0;
  if (st.st_mode & _S_IFDIR) return 2;
  return (st.st_mode & _S_IFREG) ? 1 : 0;
#else
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return 0;
  if (S_ISLNK(st.st_mode)) {
    // A link to a file is packed as that file; a link to a folder is not followed.
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? 1 : 0;
  }
  if (S_ISDIR(st.st_mode)) return 2;
  return S_ISREG(st.st_mode) ? 1 : 0;
#endif
}

}  // namespace

std::optional<std::vector<FolderItem>> ListFolder(const std::string& path) {
  std::unique_ptr<DIR, FolderCloser> dir(opendir(path.empty() ? "." : path.c_str()));
  if (!dir) return std::nullopt;
  std::vector<FolderItem> items;
  while (const dirent* e = readdir(dir.get())) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    const int kind = KindOf((path.empty() ? std::string(".") : path) + "/" + name);
    if (kind != 0) items.push_back({name, kind == 2});
  }
  std::sort(items.begin(), items.end(),
            [](const FolderItem& a, const FolderItem& b) { return a.name < b.name; });
  return items;
}

bool IsFolder(const std::string& path) { return KindOf(path.empty() ? "." : path) == 2; }

bool IsFile(const std::string& path) { return KindOf(path) == 1; }

}  // namespace tarnpack
