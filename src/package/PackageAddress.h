#pragma once
// The package's address space: offset P lies in volume P / D + 1 at position P mod D, where D
// is the volume capacity. Volume 1 is the setup file itself and so includes the stub.

#include <cstdint>
#include <optional>
#include <string>

namespace tarn::package {

struct PackageLocation {
  std::int64_t volume = 0;    // 1 for the setup file
  std::int64_t position = 0;  // byte position in that volume's file
};

// Nothing when the capacity is not positive (a broken package) or the offset is negative.
std::optional<PackageLocation> LocateOffset(std::int64_t offset, std::int64_t capacity);

// "Setup2.Cab", "Setup3.Cab", ... for volume n >= 2.
std::string VolumeFileName(std::int64_t volume);

}  // namespace tarn::package
