// The system's own clock: Linux natively, Windows under Wine.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/Clock.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/Win32Clock.h"
#else
#include <ctime>

#include "platform/posix/PosixClock.h"
#endif

namespace tarn::platform {
namespace {

#ifdef _WIN32
using SystemClock = Win32Clock;

FileTime UtcNow() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return (static_cast<FileTime>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}
#else
using SystemClock = PosixClock;

FileTime UtcNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return (static_cast<FileTime>(now.tv_sec) + 11644473600ull) * 10000000 +
         static_cast<FileTime>(now.tv_nsec) / 100;
}
#endif

TEST(SystemClock, LocalTimeConvertsLikeTheClock) {
  SystemClock clock;
  SystemTime local = clock.LocalTime();
  local.milliseconds = 0;
  const auto converted = clock.LocalToFileTime(local);
  ASSERT_TRUE(converted);
  const FileTime utcNow = UtcNow();
  // The converted local time lies in the last minute of the UTC clock.
  EXPECT_LE(*converted, utcNow);
  EXPECT_LT(utcNow - *converted, 60ull * 10000000);
  local.month = 13;
  EXPECT_FALSE(clock.LocalToFileTime(local));
}

TEST(SystemClock, OnlyRealDatesConvert) {
  SystemClock clock;
  const SystemTime base{2005, 1, 0, 23, 20, 20, 58, 0};
  const auto reference = clock.LocalToFileTime(base);
  ASSERT_TRUE(reference);
  struct Case {
    const char* what;
    SystemTime time;
    bool converts;
  };
  const Case cases[] = {
      {"a leap day", {2004, 2, 0, 29, 12, 0, 0, 0}, true},
      {"the last millisecond of a year", {2003, 12, 0, 31, 23, 59, 59, 999}, true},
      {"month 0", {2005, 0, 0, 23, 20, 20, 58, 0}, false},
      {"month 13", {2005, 13, 0, 23, 20, 20, 58, 0}, false},
      {"day 0", {2005, 1, 0, 0, 20, 20, 58, 0}, false},
      {"30 February", {2005, 2, 0, 30, 12, 0, 0, 0}, false},
#ifndef _WIN32
      // Wine's conversion takes the leap day in any year.
      {"29 February of a common year", {2005, 2, 0, 29, 12, 0, 0, 0}, false},
#endif
      {"31 April", {2005, 4, 0, 31, 12, 0, 0, 0}, false},
      {"hour 24", {2005, 1, 0, 23, 24, 0, 0, 0}, false},
      {"minute 60", {2005, 1, 0, 23, 20, 60, 0, 0}, false},
      {"second 60", {2005, 1, 0, 23, 20, 20, 60, 0}, false},
      {"millisecond 1000", {2005, 1, 0, 23, 20, 20, 58, 1000}, false},
      {"before 1601", {1600, 12, 0, 31, 12, 0, 0, 0}, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(clock.LocalToFileTime(c.time).has_value(), c.converts) << c.what;

  // Fields count in their own units, whatever the zone.
  SystemTime later = base;
  later.second += 1;
  later.milliseconds = 250;
  EXPECT_EQ(clock.LocalToFileTime(later), *reference + 12500000);
  later = base;
  later.day += 1;
  EXPECT_EQ(clock.LocalToFileTime(later), *reference + 86400ull * 10000000);
}

}  // namespace
}  // namespace tarn::platform
