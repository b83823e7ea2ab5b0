#include "package/VolumeLocation.h"

#include "package/PackageAddress.h"
#include "text/ByteText.h"
#include "text/PathParts.h"

namespace tarn::package {

std::string MediaLocationOf(const std::string& expectedPath, std::uint32_t codePage) {
  return text::ProgramFolderOf(expectedPath, codePage);
}

std::string VolumePathIn(const std::string& location, std::int32_t volume) {
  // A drive root such as "A:\" already ends in its backslash.
  return location + (location.size() == 3 ? "" : "\\") + VolumeFileName(volume);
}

}  // namespace tarn::package
