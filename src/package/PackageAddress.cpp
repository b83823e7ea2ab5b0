#include "package/PackageAddress.h"

namespace tarn::package {

std::optional<PackageLocation> LocateOffset(std::int64_t offset, std::int64_t capacity) {
  if (capacity <= 0 || offset < 0) return std::nullopt;
  return PackageLocation{offset / capacity + 1, offset % capacity};
}

std::string VolumeFileName(std::int64_t volume) {
  return "Setup" + std::to_string(volume) + ".Cab";
}

}  // namespace tarn::package
