#include "platform/FileSystem.h"

#include <algorithm>
#include <new>

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
  if (const auto length = file->Length(); length && *length > limit) return std::nullopt;
  try {
    std::string content;
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
  } catch (const std::bad_alloc&) {
    // A 32-bit address space cannot hold it: the same as a file that cannot be read.
    return std::nullopt;
  }
}

bool WriteWholeFile(FileSystem& files, const std::string& path, const std::string& content) {
  auto file = files.Open(path, OpenMode::Write);
  return file && file->Write(content.data(), content.size());
}

}  // namespace tarn::platform
