#include "pages/InstallPathCheck.h"

#include "engine/actions/FolderChain.h"
#include "text/ByteText.h"
#include "text/PathParts.h"

namespace tarn::pages {

using engine::CreateFolderChain;
using engine::SetupSession;

std::optional<std::string> AcceptInstallPath(SetupSession& s, std::string path) {
  if (path.size() < 3 || path.size() > kMaxInstallPathLength) {
    s.Log.Line("Installation folder refused, too short or too long: " + text::Quoted(path));
    return std::nullopt;
  }
  if (path.size() > 4 && text::EndsWithBackslash(path, s.CodePage)) path.pop_back();
  const bool existed = s.System.files.IsDirectory(path);
  CreateFolderChain(s.System.files, path, s.CodePage);
  if (!s.System.files.ChangeCurrentDirectory(path)) {
    s.Log.Line("Installation folder refused, it cannot be created or entered: " +
               text::Quoted(path));
    return std::nullopt;
  }
  if (!existed) s.Log.Line("Folder created: " + text::Quoted(path));
  s.InstallDir = path;
  return path;
}

}  // namespace tarn::pages
