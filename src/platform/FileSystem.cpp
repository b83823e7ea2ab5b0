#include "platform/FileSystem.h"

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

std::optional<std::string> ReadWholeFile(FileSystem& files, const std::string& path) {
  auto file = files.Open(path, OpenMode::Read);
  if (!file) return std::nullopt;
  std::string content;
  char chunk[65536];
  for (;;) {
    std::size_t got = 0;
    if (!file->Read(chunk, sizeof chunk, got)) return std::nullopt;
    if (got == 0) break;
    content.append(chunk, got);
  }
  return content;
}

bool WriteWholeFile(FileSystem& files, const std::string& path, const std::string& content) {
  auto file = files.Open(path, OpenMode::Write);
  return file && file->Write(content.data(), content.size());
}

}  // namespace tarn::platform
