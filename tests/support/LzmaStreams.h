#pragma once
// LZMA "alone" streams for tests, in the two forms found in packages: a known size followed by
// an end marker (what `xz --format=lzma` writes once its size field is filled in), and a known
// size without an end marker (what other encoders write).

#include <cstdint>
#include <string>

namespace tarn::test {

std::string LzmaWithEndMarker(const std::string& data, std::uint32_t preset = 6);
std::string LzmaWithoutEndMarker(const std::string& data, std::uint32_t preset = 6);

// Bytes that compress poorly, reproducible from `seed`.
std::string NoiseBytes(std::size_t size, std::uint32_t seed);

}  // namespace tarn::test
