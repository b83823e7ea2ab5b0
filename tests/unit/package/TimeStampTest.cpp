#include <gtest/gtest.h>

#include <cstdlib>

#include "package/PackageReader.h"
#include "support/FakeClock.h"
#include "support/ScratchFolder.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/Win32Clock.h"
#else
#include <sys/stat.h>
#endif

namespace tarn::package {
namespace {

constexpr std::int64_t kUnixEpochAsFileTime = 116444736000000000LL;

TEST(ApplyTimeStamp, MissingFileIsLeftAloneSilently) {
  test::ScratchFolder dir;
  std::atomic<bool> over{false};
  PackageReader reader(dir.Files(), over);
  test::FakeClock clock;
  const auto entry = PackageEntry::Parse(dir.Path("missing.txt") + ",1,2,A,2005-1-23 20:20:58");
  reader.ApplyTimeStamp(*entry, clock);
  EXPECT_FALSE(dir.Exists("missing.txt"));
}

#ifndef _WIN32
TEST(ApplyTimeStamp, LocalTimeEastOfUtcIsStoredEarlierInUtc) {
  test::ScratchFolder dir;
  dir.WriteFile("a.txt", "data");
  std::atomic<bool> over{false};
  PackageReader reader(dir.Files(), over);
  test::FakeClock clock;
  clock.utcOffsetMinutes = -8 * 60;  // UTC+8: UTC is eight hours behind local time
  const auto entry = PackageEntry::Parse(dir.Path("a.txt") + ",1,2,A,2005-1-23 20:20:58");
  reader.ApplyTimeStamp(*entry, clock);
  struct stat st {};
  ASSERT_EQ(::stat(dir.HostPath("a.txt").c_str(), &st), 0);
  // 2005-01-23 12:20:58 UTC
  EXPECT_EQ(st.st_mtime, 1106482858);
}
#else
// Run with TZ set east of UTC (ctest does), so the local reading and the stored UTC differ.
TEST(ApplyTimeStamp, FileShowsTheRecordedLocalTime) {
  test::ScratchFolder dir;
  dir.WriteFile("a.txt", "data");
  std::atomic<bool> over{false};
  PackageReader reader(dir.Files(), over);
  platform::Win32Clock clock;
  const auto entry = PackageEntry::Parse(dir.Path("a.txt") + ",1,2,A,2005-1-23 20:20:58");
  reader.ApplyTimeStamp(*entry, clock);

  HANDLE h = CreateFileA(dir.Path("a.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  FILETIME created{}, accessed{}, written{};
  ASSERT_TRUE(GetFileTime(h, &created, &accessed, &written));
  CloseHandle(h);
  FILETIME local{};
  SYSTEMTIME shown{};
  ASSERT_TRUE(FileTimeToLocalFileTime(&written, &local));
  ASSERT_TRUE(FileTimeToSystemTime(&local, &shown));
  EXPECT_EQ(shown.wYear, 2005);
  EXPECT_EQ(shown.wMonth, 1);
  EXPECT_EQ(shown.wDay, 23);
  EXPECT_EQ(shown.wHour, 20);
  EXPECT_EQ(shown.wMinute, 20);
  EXPECT_EQ(shown.wSecond, 58);
  EXPECT_EQ(CompareFileTime(&written, &accessed), 0);

  if (const char* offset = std::getenv("TARN_EXPECT_UTC_OFFSET_MINUTES")) {
    const std::int64_t utc =
        (static_cast<std::int64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    const std::int64_t expected =
        (1106511658LL - std::atoll(offset) * 60) * 10000000 + kUnixEpochAsFileTime;
    EXPECT_EQ(utc, expected) << "20:20:58 local is 20:20:58 UTC minus the zone offset";
  }
}
#endif

}  // namespace
}  // namespace tarn::package
