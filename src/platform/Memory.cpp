#include "platform/Memory.h"

#include <cstdint>
#include <cstdlib>

namespace tarn::platform {

bool RoomFor(std::uint64_t bytes) {
  if (bytes >= SIZE_MAX) return false;
  void* probe = std::malloc(static_cast<std::size_t>(bytes) + 1);
  if (probe == nullptr) return false;
  std::free(probe);
  return true;
}

}  // namespace tarn::platform
