#pragma once
// The system's clock: the local time, the conversion of a local calendar time to a file time,
// and waiting. Kept apart from the other system facts so that a test can run the clock on its
// own terms (fixed times, pauses that only add up) while everything else stays real.

#include <cstdint>
#include <optional>

#include "platform/Time.h"

namespace tarn::platform {

class Clock {
 public:
  virtual ~Clock() = default;

  virtual SystemTime LocalTime() = 0;
  // A local calendar time as a file time in UTC; nothing for an invalid date.
  virtual std::optional<FileTime> LocalToFileTime(const SystemTime& local) = 0;
  virtual void Pause(std::uint32_t milliseconds) = 0;
  // A steady count of microseconds from an arbitrary start, to time what the program does.
  virtual std::uint64_t ElapsedMicroseconds() = 0;
  // The system timer at 1 ms from the first call to the second, so that a pause of a few
  // milliseconds lasts about that long; the calls come in pairs.
  virtual void RaiseTimerResolution() {}
  virtual void RestoreTimerResolution() {}
};

}  // namespace tarn::platform
