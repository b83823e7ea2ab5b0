#include "support/BitmapBytes.h"

namespace tarn::test {

namespace {

void Put16(std::string& s, std::uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::string Row(const BitmapSketch& s, int y) {
  std::string row;
  std::uint32_t acc = 0;
  int filled = 0;
  for (int x = 0; x < s.width; ++x) {
    const std::uint32_t value = s.pixel(x, y);
    if (s.bitCount == 24) {
      row.push_back(static_cast<char>(value & 0xFF));
      row.push_back(static_cast<char>((value >> 8) & 0xFF));
      row.push_back(static_cast<char>((value >> 16) & 0xFF));
      continue;
    }
    // Packed indices, the leftmost pixel in the highest bits of each byte.
    acc = acc << s.bitCount | value;
    filled += s.bitCount;
    if (filled == 8) {
      row.push_back(static_cast<char>(acc));
      acc = 0;
      filled = 0;
    }
  }
  if (filled > 0) row.push_back(static_cast<char>(acc << (8 - filled)));
  while (row.size() % 4 != 0) row.push_back('\0');
  return row;
}

}  // namespace

std::string EncodeBitmap(const BitmapSketch& s) {
  std::string body;
  if (s.coreHeader) {
    Put32(body, 12);
    Put16(body, static_cast<std::uint32_t>(s.width));
    Put16(body, static_cast<std::uint32_t>(s.height));
    Put16(body, 1);
    Put16(body, static_cast<std::uint32_t>(s.bitCount));
  } else {
    Put32(body, 40);
    Put32(body, static_cast<std::uint32_t>(s.width));
    Put32(body, static_cast<std::uint32_t>(s.topDown ? -s.height : s.height));
    Put16(body, 1);
    Put16(body, static_cast<std::uint32_t>(s.bitCount));
    for (int i = 0; i < 4; ++i) Put32(body, 0);  // compression, image size, resolutions
    Put32(body, static_cast<std::uint32_t>(s.table.size()));
    Put32(body, 0);
  }
  for (const Rgb& c : s.table) {
    body.push_back(static_cast<char>(c.blue));
    body.push_back(static_cast<char>(c.green));
    body.push_back(static_cast<char>(c.red));
    if (!s.coreHeader) body.push_back('\0');
  }
  const std::size_t bitsOffset = body.size() + 14;
  for (int r = 0; r < s.height; ++r) body += Row(s, s.topDown ? r : s.height - 1 - r);
  if (!s.fileHeader) return body;
  std::string file = "BM";
  Put32(file, static_cast<std::uint32_t>(body.size() + 14));
  Put32(file, 0);
  Put32(file, static_cast<std::uint32_t>(bitsOffset));
  return file + body;
}

}  // namespace tarn::test
