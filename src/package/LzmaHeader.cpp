#include "package/LzmaHeader.h"

#include "package/LittleEndian.h"

namespace tarn::package {

std::optional<LzmaProperties> DecodeLzmaProperties(std::uint8_t byte) {
  if (byte >= 9 * 5 * 5) return std::nullopt;
  LzmaProperties p;
  std::uint32_t rest = byte;
  p.pb = rest / 45;
  rest -= p.pb * 45;
  p.lp = rest / 9;
  rest -= p.lp * 9;
  p.lc = rest;
  return p;
}

std::uint8_t EncodeLzmaProperties(const LzmaProperties& p) {
  return static_cast<std::uint8_t>((p.pb * 5 + p.lp) * 9 + p.lc);
}

LzmaHeader DecodeLzmaHeader(const std::array<std::uint8_t, kLzmaHeaderSize>& bytes) {
  LzmaHeader h;
  h.properties = bytes[0];
  h.dictionarySize = LoadLe32(&bytes[1]);
  h.uncompressedSize = LoadLe64(&bytes[5]);
  return h;
}

std::array<std::uint8_t, kLzmaHeaderSize> EncodeLzmaHeader(const LzmaHeader& header) {
  std::array<std::uint8_t, kLzmaHeaderSize> bytes{};
  bytes[0] = header.properties;
  StoreLe32(&bytes[1], header.dictionarySize);
  StoreLe64(&bytes[5], header.uncompressedSize);
  return bytes;
}

}  // namespace tarn::package
