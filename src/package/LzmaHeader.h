#pragma once
// The 13-byte header of an LZMA "alone" stream: properties, dictionary size, uncompressed size.

#include <array>
#include <cstdint>
#include <optional>

namespace tarn::package {

constexpr std::size_t kLzmaHeaderSize = 13;

struct LzmaProperties {
  std::uint32_t lc = 0;
  std::uint32_t lp = 0;
  std::uint32_t pb = 0;
};

struct LzmaHeader {
  std::uint8_t properties = 0;
  std::uint32_t dictionarySize = 0;
  std::uint64_t uncompressedSize = 0;
};

// properties = (pb * 5 + lp) * 9 + lc; nothing for a byte no encoder can produce (225 and up).
std::optional<LzmaProperties> DecodeLzmaProperties(std::uint8_t byte);
std::uint8_t EncodeLzmaProperties(const LzmaProperties& p);

LzmaHeader DecodeLzmaHeader(const std::array<std::uint8_t, kLzmaHeaderSize>& bytes);
std::array<std::uint8_t, kLzmaHeaderSize> EncodeLzmaHeader(const LzmaHeader& header);

}  // namespace tarn::package
