#include "engine/InstallPathCheck.h"

#include "engine/FolderChain.h"
#include "text/ByteText.h"

namespace tarn::engine {

std::optional<std::string> AcceptInstallPath(SetupSession& s, std::string path) {
  if (path.size() < 3 || path.size() > kMaxInstallPathLength) return std::nullopt;
  if (path.size() > 4 && text::FindLastChar(path, '\\', s.CodePage) == path.size() - 1)
    path.pop_back();
  CreateFolderChain(s.System.files, path, s.CodePage);
  if (!s.System.files.ChangeCurrentDirectory(path)) return std::nullopt;
  s.InstallDir = path;
  return path;
}

}  // namespace tarn::engine
