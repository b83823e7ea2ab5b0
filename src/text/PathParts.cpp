#include "text/PathParts.h"

#include "text/ByteText.h"

namespace tarn::text {

bool EndsWithBackslash(std::string_view path, std::uint32_t codePage) {
  return !path.empty() && FindLastChar(path, '\\', codePage) == path.size() - 1;
}

std::string FolderWithBackslash(std::string_view path, std::uint32_t codePage) {
  const std::size_t slash = FindLastChar(path, '\\', codePage);
  return slash == npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string FileNameOf(std::string_view path, std::uint32_t codePage) {
  const std::size_t slash = FindLastChar(path, '\\', codePage);
  return std::string(slash == npos ? path : path.substr(slash + 1));
}

std::string FolderOf(std::string_view path, std::uint32_t codePage, std::size_t shortestBare) {
  const std::size_t slash = FindLastChar(path, '\\', codePage);
  if (slash == npos) return {};
  return std::string(path.substr(0, slash < shortestBare ? slash + 1 : slash));
}

}  // namespace tarn::text
