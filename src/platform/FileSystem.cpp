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

}  // namespace tarn::platform
