#include "platform/FileSystem.h"

#include <algorithm>

#include "platform/Memory.h"

namespace tarn::platform {

bool ReadExactly(File& file, void* buffer, std::size_t size) {
  auto* out = static_cast<unsigned char*>(buffer);
  while (size > 0) {
    std::size_t got = 0;
    if (!file.Read(out, size, got) || got == 0) return false;
    out += got;
    size -= got;
  }
  return true;
}

std::optional<std::string> ReadWholeFile(FileSystem& files, const std::string& path,
                                         std::uint64_t maxSize) {
  auto file = files.Open(path, OpenMode::Read);
  if (!file) return std::nullopt;
  const std::uint64_t limit = std::min<std::uint64_t>(maxSize, std::string().max_size());
  std::string content;
  if (const auto length = file->Length()) {
    // A 32-bit address space may not hold it: the same as a file that cannot be read.
    if (*length > limit || !RoomFor(*length)) return std::nullopt;
    content.reserve(static_cast<std::size_t>(*length));
  }
  char chunk[65536];
  for (;;) {
    std::size_t got = 0;
    if (!file->Read(chunk, sizeof chunk, got)) return std::nullopt;
    if (got == 0) break;
    // The file may grow while it is read: the limit holds for what is read, too.
    if (got > limit - content.size()) return std::nullopt;
    content.append(chunk, got);
  }
  return content;
}

bool WriteWholeFile(FileSystem& files, const std::string& path, const std::string& content) {
  auto file = files.Open(path, OpenMode::Write);
  return file && file->Write(content.data(), content.size());
}

}  // namespace tarn::platform
