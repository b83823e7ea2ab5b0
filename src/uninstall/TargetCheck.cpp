#include "uninstall/TargetCheck.h"

#include "text/ByteText.h"
#include "text/PathParts.h"

namespace tarn::uninstall {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string WithoutFinalBackslash(std::string path, std::uint32_t codePage) {
  while (path.size() > 3 && text::EndsWithBackslash(path, codePage)) path.pop_back();
  return path;
}

}  // namespace

bool IsAbsoluteLocalPath(const std::string& path, std::uint32_t codePage) {
  if (path.size() < 3 || !IsAsciiLetter(path[0]) || path[1] != ':' || path[2] != '\\') return false;
  if (path.find_first_of("/*?\"<>|") != std::string::npos) return false;
  if (path.find(':', 2) != std::string::npos) return false;
  std::size_t start = 3;
  while (start < path.size()) {
    std::size_t end = text::FindChar(path, '\\', codePage, start);
    if (end == text::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

AllowedFolders::AllowedFolders(engine::SetupSession& s) : codePage_(s.CodePage) {
  std::vector<std::string> candidates;
  for (const char* token :
       {"[InstallDir]", "[Program Files]", "[Windows Directory]", "[System Directory]",
        "[Desktop Directory]", "[TempFileDir]", "[Start Menu]", "[Startup]"})
    candidates.push_back(s.Expand(token));
  candidates.push_back(s.QuickLaunchDir1);
  candidates.push_back(s.QuickLaunchDir2);
  candidates.push_back(s.ProgramFolderPath);
  for (auto& folder : candidates) {
    folder = WithoutFinalBackslash(folder, codePage_);
    // A token the system cannot expand stays as it is, and names no folder.
    if (IsAbsoluteLocalPath(folder, codePage_) || (folder.size() == 3 && folder[1] == ':'))
      folders_.push_back(folder);
  }
}

std::optional<std::string> AllowedFolders::FolderOf(const std::string& path) const {
  if (!IsAbsoluteLocalPath(path, codePage_)) return std::nullopt;
  std::optional<std::string> best;
  for (const auto& folder : folders_) {
    const bool root = folder.size() == 3;
    const std::string prefix = root ? folder : folder + "\\";
    const bool inside =
        text::EqualsIgnoreAsciiCase(path, folder) ||
        (path.size() > prefix.size() &&
         text::EqualsIgnoreAsciiCase(std::string_view(path).substr(0, prefix.size()), prefix));
    // The deepest folder that holds it: the fewest parts to check for reparse points.
    if (inside && (!best || folder.size() > best->size())) best = folder;
  }
  return best;
}

bool AllowedFolders::BehindReparsePoint(const std::string& path, RemovalServices& services) const {
  const auto folder = FolderOf(path);
  if (!folder) return true;
  std::string current = path;
  while (current.size() > folder->size()) {
    if (services.IsReparsePoint(current)) return true;
    current = text::FolderOf(current, codePage_, 3);
  }
  return false;
}

}  // namespace tarn::uninstall
