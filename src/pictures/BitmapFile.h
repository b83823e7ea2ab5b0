#pragma once
// Reading Windows bitmap files into a packed device-independent bitmap, the form GDI draws from.
// Picture files come out of a package that anyone can build, so every size the file states is
// checked against the others and against the file's length before anything is allocated.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tarn::pictures {

constexpr std::size_t kBitmapFileHeaderSize = 14;
constexpr std::size_t kBitmapInfoHeaderSize = 40;
constexpr std::size_t kBitmapCoreHeaderSize = 12;
// The bits are read in pieces of at most this many bytes.
constexpr std::size_t kBitmapReadPiece = 32768;
// The largest pixel data read into memory: a 4096 x 4096 picture at 32 bits. The wizard's
// pictures are a fraction of that; more would not fit beside its copies in 32-bit memory.
constexpr std::uint64_t kMaxBitmapImageSize = UINT64_C(64) << 20;

// A bitmap in memory: a 40-byte information header (a core header is converted), the colour
// table as 4-byte entries (blue, green, red, 0) and the pixel bits, one after the other.
struct DibImage {
  std::vector<std::uint8_t> bytes;
  std::int32_t width = 0;
  // Number of rows; the header keeps its sign, negative for a top-down bitmap.
  std::int32_t height = 0;
  bool topDown = false;
  std::uint16_t bitCount = 0;
  std::uint32_t colourCount = 0;

  std::size_t BitsOffset() const { return kBitmapInfoHeaderSize + 4u * colourCount; }
  std::size_t ImageSize() const { return bytes.size() - BitsOffset(); }
  const std::uint8_t* Bits() const { return bytes.data() + BitsOffset(); }
};

struct PaletteColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  bool operator==(const PaletteColour& o) const {
    return red == o.red && green == o.green && blue == o.blue;
  }
};

// Reads a bitmap from the start of `file`: an optional 14-byte file header, then a 40-byte
// information header or a 12-byte core header, the colour table and the bits. Nothing when the
// file is unreadable, of a kind we do not draw, or inconsistent in any of its sizes.
std::optional<DibImage> ReadBitmap(platform::File& file);
std::optional<DibImage> ReadBitmapFile(platform::FileSystem& fs, const std::string& path);

// Bytes of the pixel bits of a bitmap with these dimensions (rows padded to 4 bytes); nothing
// when the size does not fit in 64 bits.
std::optional<std::uint64_t> BitmapImageSize(std::uint32_t width, std::uint32_t rows,
                                             std::uint16_t bitCount);

// The logical palette to realise before drawing: the colour table when there is one, a
// 256-colour 3-3-2 cube for a 24-bit bitmap without one, and none otherwise.
std::vector<PaletteColour> BitmapPalette(const DibImage& image);

}  // namespace tarn::pictures
