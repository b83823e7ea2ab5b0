#pragma once
// Bitmap files built in memory for the bitmap reader's tests: headers, colour tables and bits
// laid out as a test asks, and a file that serves them.

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "pictures/BitmapFile.h"
#include "platform/ForwardingFileSystem.h"

namespace tarn::pictures::bitmap_builder {

inline void Put16(std::string& s, std::uint16_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>(v >> 8));
}

inline void Put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

inline std::uint32_t Get32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// Colour table entry i as the builder writes it.
inline std::uint8_t EntryBlue(std::uint32_t i) { return static_cast<std::uint8_t>(i * 3 + 1); }
inline std::uint8_t EntryGreen(std::uint32_t i) { return static_cast<std::uint8_t>(i * 5 + 2); }
inline std::uint8_t EntryRed(std::uint32_t i) { return static_cast<std::uint8_t>(i * 7 + 3); }

inline std::string BitsPattern(std::size_t size) {
  std::string bits(size, '\0');
  for (std::size_t j = 0; j < size; ++j) bits[j] = static_cast<char>((j * 31 + 7) & 0xFF);
  return bits;
}

// Describes one bitmap file to generate; every field can be made to lie.
struct Bmp {
  bool fileHeader = true;
  bool core = false;
  std::uint32_t headerSize = 0;  // 0: the right one for `core`
  std::int32_t width = 3;
  std::int32_t height = 2;
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  std::uint32_t imageSizeField = 0;
  std::uint32_t coloursUsedField = 0;
  std::uint32_t tableEntries = 0;
  std::uint32_t gap = 0;              // bytes between the colour table and the bits
  std::int64_t bitsOffsetField = -1;  // -1: where the bits really start
  std::size_t bitsBytes = 24;

  std::string Bytes() const {
    std::string body;
    const std::uint32_t size = headerSize != 0 ? headerSize : core ? 12u : 40u;
    Put32(body, size);
    if (core) {
      Put16(body, static_cast<std::uint16_t>(width));
      Put16(body, static_cast<std::uint16_t>(height));
      Put16(body, planes);
      Put16(body, bitCount);
    } else {
      Put32(body, static_cast<std::uint32_t>(width));
      Put32(body, static_cast<std::uint32_t>(height));
      Put16(body, planes);
      Put16(body, bitCount);
      Put32(body, compression);
      Put32(body, imageSizeField);
      Put32(body, 2835);
      Put32(body, 2835);
      Put32(body, coloursUsedField);
      Put32(body, 0);
    }
    if (size > body.size() && size < 1024) body.append(size - body.size(), '\0');
    for (std::uint32_t i = 0; i < tableEntries; ++i) {
      body.push_back(static_cast<char>(EntryBlue(i)));
      body.push_back(static_cast<char>(EntryGreen(i)));
      body.push_back(static_cast<char>(EntryRed(i)));
      if (!core) body.push_back('\0');
    }
    body.append(gap, '\x5A');
    const std::size_t bitsAt = body.size() + (fileHeader ? kBitmapFileHeaderSize : 0);
    body += BitsPattern(bitsBytes);
    if (!fileHeader) return body;
    std::string file = "BM";
    Put32(file, static_cast<std::uint32_t>(body.size() + kBitmapFileHeaderSize));
    Put32(file, 0);
    Put32(file, bitsOffsetField >= 0 ? static_cast<std::uint32_t>(bitsOffsetField)
                                     : static_cast<std::uint32_t>(bitsAt));
    return file + body;
  }
};

// A file held in memory, remembering the largest single read asked of it.
class MemoryFile : public platform::ForwardingFile {
 public:
  explicit MemoryFile(std::string bytes) : bytes_(std::move(bytes)) {}

  bool Read(void* buffer, std::size_t size, std::size_t& got) override {
    largestRead = std::max(largestRead, size);
    got = std::min(size, bytes_.size() - std::min(position_, bytes_.size()));
    if (got > 0) std::memcpy(buffer, bytes_.data() + position_, got);
    position_ += got;
    return true;
  }
  bool Seek(std::int64_t offset, platform::SeekOrigin origin) override {
    const std::int64_t base = origin == platform::SeekOrigin::Begin ? 0
                              : origin == platform::SeekOrigin::Current
                                  ? std::int64_t(position_)
                                  : std::int64_t(bytes_.size());
    if (base + offset < 0) return false;
    position_ = static_cast<std::size_t>(base + offset);
    return true;
  }
  std::optional<std::uint64_t> Length() override { return bytes_.size(); }

  std::size_t largestRead = 0;

 private:
  std::string bytes_;
  std::size_t position_ = 0;
};

inline std::optional<DibImage> Read(const Bmp& bmp) {
  MemoryFile file(bmp.Bytes());
  return ReadBitmap(file);
}

}  // namespace tarn::pictures::bitmap_builder
