#pragma once
// Calendar and file times as the system hands them out.

#include <cstdint>

namespace tarn::platform {

// A calendar time with the fields of the system's own structure (local or UTC by context).
struct SystemTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t dayOfWeek = 0;  // 0 = Sunday
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
};

// 100-nanosecond intervals since 1601-01-01 00:00 UTC, the unit of file time stamps.
using FileTime = std::uint64_t;

}  // namespace tarn::platform
