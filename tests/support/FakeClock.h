#pragma once
// A clock that a test sets as it likes: a fixed local time, a fixed distance to UTC, and pauses
// that only add up.

#include <cstdint>
#include <optional>

#include "platform/Clock.h"

namespace tarn::test {

class FakeClock : public platform::Clock {
 public:
  platform::SystemTime localTime{2005, 1, 0, 23, 20, 20, 58, 0};
  // Added to a local time's value to make it UTC (minutes east of UTC, negated).
  std::int32_t utcOffsetMinutes = 0;
  // Sum of all pauses asked for; nothing actually waits, and time passes only in pauses.
  std::uint64_t pausedMilliseconds = 0;

  platform::SystemTime LocalTime() override { return localTime; }
  std::optional<platform::FileTime> LocalToFileTime(const platform::SystemTime& local) override;
  void Pause(std::uint32_t milliseconds) override { pausedMilliseconds += milliseconds; }
  std::uint64_t ElapsedMicroseconds() override { return pausedMilliseconds * 1000; }
  void RaiseTimerResolution() override { ++timerRaised; }
  void RestoreTimerResolution() override { ++timerRestored; }
  // Calls of RaiseTimerResolution and RestoreTimerResolution.
  int timerRaised = 0;
  int timerRestored = 0;
};

}  // namespace tarn::test
