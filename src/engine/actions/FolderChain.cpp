#include "engine/actions/FolderChain.h"

#include "engine/actions/Programs.h"
#include "text/ByteText.h"

namespace tarn::engine {

namespace {

// The folders along `path` below its drive root, from the top down.
std::vector<std::string> Chain(const std::string& path, std::uint32_t codePage) {
  std::vector<std::string> chain;
  // The first three characters are the drive root, "C:\"; every folder below it is made in turn.
  std::size_t from = 0;
  while (from <= path.size()) {
    std::size_t slash = text::FindChar(path, '\\', codePage, from);
    if (slash == text::npos) slash = path.size();
    if (slash > 3 && slash > from) chain.push_back(path.substr(0, slash));
    from = slash + 1;
  }
  return chain;
}

}  // namespace

bool CreateFolderChain(platform::FileSystem& files, const std::string& path,
                       std::uint32_t codePage) {
  if (path.size() > kMaxCommandLength) return false;
  if (path.size() < 4) return true;
  for (const auto& folder : Chain(path, codePage)) files.MakeDirectory(folder);
  return true;
}

std::vector<std::string> MissingFolders(platform::FileSystem& files, const std::string& path,
                                        std::uint32_t codePage) {
  std::vector<std::string> missing;
  if (path.size() > kMaxCommandLength || path.size() < 4) return missing;
  for (const auto& folder : Chain(path, codePage)) {
    if (!files.IsDirectory(folder)) missing.push_back(folder);
  }
  return missing;
}

}  // namespace tarn::engine
