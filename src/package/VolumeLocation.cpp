#include "package/VolumeLocation.h"

#include "package/PackageAddress.h"
#include "text/ByteText.h"

namespace tarn::package {

std::string MediaLocationOf(const std::string& expectedPath, std::uint32_t codePage) {
  const std::size_t slash = text::FindLastChar(expectedPath, '\\', codePage);
  std::string folder = slash == text::npos ? std::string() : expectedPath.substr(0, slash + 1);
  if (folder.size() > 3) folder.pop_back();
  return folder;
}

std::string VolumePathIn(const std::string& location, std::int32_t volume) {
  // A drive root such as "A:\" already ends in its backslash.
  return location + (location.size() == 3 ? "" : "\\") + VolumeFileName(volume);
}

}  // namespace tarn::package
