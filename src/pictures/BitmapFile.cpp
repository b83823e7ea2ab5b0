#include "pictures/BitmapFile.h"

#include <algorithm>
#include <array>
#include <limits>

#include "platform/Memory.h"

namespace tarn::pictures {

namespace {

constexpr std::uint32_t kNoCompression = 0;

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void Put16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The fields of either header kind, as the information header holds them.
struct Header {
  bool core = false;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t planes = 0;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = kNoCompression;
  std::uint32_t imageSize = 0;
  std::uint32_t xPixelsPerMetre = 0;
  std::uint32_t yPixelsPerMetre = 0;
  std::uint32_t coloursUsed = 0;
  std::uint32_t coloursImportant = 0;
};

// A file read front to back with its position and length known, so that every claim of the
// headers can be checked against what the file really holds.
class Source {
 public:
  explicit Source(platform::File& file) : file_(file) {}

  bool Start() {
    const auto length = file_.Length();
    if (!length || !file_.Seek(0, platform::SeekOrigin::Begin)) return false;
    length_ = *length;
    return true;
  }
  std::uint64_t Position() const { return position_; }
  std::uint64_t Length() const { return length_; }
  bool Holds(std::uint64_t count) const { return count <= length_ - position_; }

  bool Read(void* buffer, std::size_t count) {
    if (!Holds(count) || !platform::ReadExactly(file_, buffer, count)) return false;
    position_ += count;
    return true;
  }
  bool SeekTo(std::uint64_t position) {
    if (position > length_ ||
        position > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) ||
        !file_.Seek(static_cast<std::int64_t>(position), platform::SeekOrigin::Begin)) {
      return false;
    }
    position_ = position;
    return true;
  }

 private:
  platform::File& file_;
  std::uint64_t length_ = 0;
  std::uint64_t position_ = 0;
};

// The bits offset the file header gives, 0 when there is none (or it says 0).
std::optional<std::uint32_t> ReadFileHeader(Source& source) {
  std::array<std::uint8_t, kBitmapFileHeaderSize> bytes{};
  if (source.Holds(bytes.size())) {
    if (!source.Read(bytes.data(), bytes.size())) return std::nullopt;
    if (bytes[0] == 'B' && bytes[1] == 'M') return Le32(&bytes[10]);
    if (!source.SeekTo(0)) return std::nullopt;
  }
  return 0u;
}

std::optional<Header> ReadHeader(Source& source) {
  std::array<std::uint8_t, kBitmapInfoHeaderSize> b{};
  if (!source.Read(b.data(), 4)) return std::nullopt;
  Header h;
  const std::uint32_t size = Le32(b.data());
  if (size == kBitmapCoreHeaderSize) {
    if (!source.Read(b.data() + 4, kBitmapCoreHeaderSize - 4)) return std::nullopt;
    h.core = true;
    h.width = Le16(&b[4]);
    h.height = Le16(&b[6]);
    h.planes = Le16(&b[8]);
    h.bitCount = Le16(&b[10]);
    return h;
  }
  if (size != kBitmapInfoHeaderSize) return std::nullopt;
  if (!source.Read(b.data() + 4, kBitmapInfoHeaderSize - 4)) return std::nullopt;
  h.width = static_cast<std::int32_t>(Le32(&b[4]));
  h.height = static_cast<std::int32_t>(Le32(&b[8]));
  h.planes = Le16(&b[12]);
  h.bitCount = Le16(&b[14]);
  h.compression = Le32(&b[16]);
  h.imageSize = Le32(&b[20]);
  h.xPixelsPerMetre = Le32(&b[24]);
  h.yPixelsPerMetre = Le32(&b[28]);
  h.coloursUsed = Le32(&b[32]);
  h.coloursImportant = Le32(&b[36]);
  return h;
}

bool SupportedBitCount(const Header& h) {
  switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
      return true;
    case 16:
    case 32:
      return !h.core;
    default:
      return false;
  }
}

// Colour table entries implied by the bit count alone.
std::uint32_t ColoursOfBitCount(std::uint16_t bitCount) {
  return bitCount <= 8 ? 1u << bitCount : 0u;
}

// A true-colour bitmap may still carry a table to help palette displays; GDI palettes hold 256.
std::uint32_t MaxColours(std::uint16_t bitCount) { return bitCount <= 8 ? 1u << bitCount : 256u; }

std::vector<std::uint8_t> EncodeInfoHeader(const Header& h, std::uint32_t imageSize,
                                           std::uint32_t colours) {
  std::vector<std::uint8_t> out(kBitmapInfoHeaderSize, 0);
  Put32(&out[0], kBitmapInfoHeaderSize);
  Put32(&out[4], static_cast<std::uint32_t>(h.width));
  Put32(&out[8], static_cast<std::uint32_t>(h.height));
  Put16(&out[12], h.planes);
  Put16(&out[14], h.bitCount);
  Put32(&out[16], kNoCompression);
  Put32(&out[20], imageSize);
  Put32(&out[24], h.xPixelsPerMetre);
  Put32(&out[28], h.yPixelsPerMetre);
  Put32(&out[32], colours);
  Put32(&out[36], h.core ? colours : std::min(h.coloursImportant, colours));
  return out;
}

// The colour table and the bits, once the headers have shown they lie inside the file.
std::optional<DibImage> ReadBits(Source& source, const Header& h, std::uint32_t colours,
                                 std::uint64_t imageSize, std::uint64_t tableBytes,
                                 std::uint64_t bitsStart, std::uint64_t total) {
  const std::size_t entrySize = h.core ? 3 : 4;
  DibImage image;
  image.width = h.width;
  image.height = h.height;
  image.topDown = h.height < 0;
  image.bitCount = h.bitCount;
  image.colourCount = colours;
  image.bytes = EncodeInfoHeader(h, static_cast<std::uint32_t>(imageSize), colours);
  image.bytes.resize(static_cast<std::size_t>(total), 0);

  std::vector<std::uint8_t> table(static_cast<std::size_t>(tableBytes));
  if (!source.Read(table.data(), table.size())) return std::nullopt;
  for (std::uint32_t i = 0; i < colours; ++i) {
    std::copy_n(&table[i * entrySize], 3, &image.bytes[kBitmapInfoHeaderSize + 4 * i]);
  }

  if (!source.SeekTo(bitsStart)) return std::nullopt;
  std::uint8_t* bits = image.bytes.data() + image.BitsOffset();
  for (std::size_t left = image.ImageSize(); left > 0;) {
    const std::size_t piece = std::min(left, kBitmapReadPiece);
    if (!source.Read(bits, piece)) return std::nullopt;
    bits += piece;
    left -= piece;
  }
  return image;
}

}  // namespace

std::optional<std::uint64_t> BitmapImageSize(std::uint32_t width, std::uint32_t rows,
                                             std::uint16_t bitCount) {
  // Cannot overflow: at most 2^16 * 2^32.
  const std::uint64_t stride = (std::uint64_t{bitCount} * width + 31) / 32 * 4;
  if (stride != 0 && rows > std::numeric_limits<std::uint64_t>::max() / stride) {
    return std::nullopt;
  }
  return stride * rows;
}

std::optional<DibImage> ReadBitmap(platform::File& file) {
  Source source(file);
  if (!source.Start()) return std::nullopt;
  const auto bitsOffset = ReadFileHeader(source);
  if (!bitsOffset) return std::nullopt;
  const auto header = ReadHeader(source);
  if (!header) return std::nullopt;
  const Header& h = *header;

  // Compressed bitmaps have no size that follows from their dimensions; we draw none.
  if (h.compression != kNoCompression || !SupportedBitCount(h)) return std::nullopt;
  // A top-down bitmap (negative height) is drawn as well; only its row count matters here.
  if (h.width <= 0 || h.height == 0 || h.height == std::numeric_limits<std::int32_t>::min()) {
    return std::nullopt;
  }
  const auto rows = static_cast<std::uint32_t>(h.height < 0 ? -h.height : h.height);

  const std::uint32_t colours = h.coloursUsed != 0 ? h.coloursUsed : ColoursOfBitCount(h.bitCount);
  if (colours > MaxColours(h.bitCount)) return std::nullopt;

  const auto imageSize = BitmapImageSize(static_cast<std::uint32_t>(h.width), rows, h.bitCount);
  if (!imageSize || *imageSize > kMaxBitmapImageSize) return std::nullopt;
  if (h.imageSize != 0 && h.imageSize != *imageSize) return std::nullopt;

  // Everything the headers promise must lie inside the file before we allocate for it.
  const std::size_t entrySize = h.core ? 3 : 4;
  const std::uint64_t tableBytes = std::uint64_t{colours} * entrySize;
  const std::uint64_t tableEnd = source.Position() + tableBytes;
  const std::uint64_t bitsStart = *bitsOffset == 0 ? tableEnd : *bitsOffset;
  if (tableEnd > source.Length() || bitsStart < tableEnd ||
      *imageSize > source.Length() - bitsStart) {
    return std::nullopt;
  }
  const std::uint64_t total = kBitmapInfoHeaderSize + std::uint64_t{colours} * 4 + *imageSize;

  // No room for the picture: drawn as none, like a broken file.
  if (!platform::RoomFor(total + tableBytes)) return std::nullopt;
  return ReadBits(source, h, colours, *imageSize, tableBytes, bitsStart, total);
}

std::optional<DibImage> ReadBitmapFile(platform::FileSystem& fs, const std::string& path) {
  const auto file = fs.Open(path, platform::OpenMode::Read);
  if (!file) return std::nullopt;
  return ReadBitmap(*file);
}

std::vector<PaletteColour> BitmapPalette(const DibImage& image) {
  std::vector<PaletteColour> palette;
  if (image.colourCount > 0) {
    palette.reserve(image.colourCount);
    for (std::uint32_t i = 0; i < image.colourCount; ++i) {
      const std::uint8_t* entry = &image.bytes[kBitmapInfoHeaderSize + 4 * i];
      palette.push_back({entry[2], entry[1], entry[0]});
    }
  } else if (image.bitCount == 24) {
    // A 3-3-2 cube: red changes fastest, blue slowest.
    palette.reserve(256);
    for (unsigned i = 0; i < 256; ++i) {
      palette.push_back({static_cast<std::uint8_t>(32 * (i % 8)),
                         static_cast<std::uint8_t>(32 * ((i / 8) % 8)),
                         static_cast<std::uint8_t>(64 * (i / 64))});
    }
  }
  return palette;
}

}  // namespace tarn::pictures
