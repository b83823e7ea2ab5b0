#pragma once
// Whether a buffer of a size read from a file can be had. Asked before the buffer is made: the
// stub has no exceptions, so memory that cannot be had ends the program, and a file's claim
// that no address space can meet must end as broken input instead.

#include <cstdint>

namespace tarn::platform {

bool RoomFor(std::uint64_t bytes);

}  // namespace tarn::platform
