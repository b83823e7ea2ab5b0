#pragma once
// Where the insert-media question starts and what the user's answer means: the folder shown is
// the expected volume's folder ("A:\" stays as it is, "D:\disk\" loses its backslash), and a
// folder typed or picked becomes that folder's "SetupN.Cab".

#include <cstdint>
#include <string>

namespace tarn::package {

std::string MediaLocationOf(const std::string& expectedPath, std::uint32_t codePage);
std::string VolumePathIn(const std::string& location, std::int32_t volume);

}  // namespace tarn::package
