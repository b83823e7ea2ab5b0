#include "engine/actions/FolderChain.h"

#include "engine/actions/Programs.h"
#include "text/ByteText.h"

namespace tarn::engine {

bool CreateFolderChain(platform::FileSystem& files, const std::string& path,
                       std::uint32_t codePage) {
  if (path.size() > kMaxCommandLength) return false;
  if (path.size() < 4) return true;
  // The first three characters are the drive root, "C:\"; every folder below it is made in turn.
  std::size_t from = 0;
  while (from <= path.size()) {
    std::size_t slash = text::FindChar(path, '\\', codePage, from);
    if (slash == text::npos) slash = path.size();
    if (slash > 3 && slash > from) files.MakeDirectory(path.substr(0, slash));
    from = slash + 1;
  }
  return true;
}

}  // namespace tarn::engine
