#include "platform/posix/PosixClock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace tarn::platform {

namespace {

// Seconds from 1601-01-01 to 1970-01-01, both UTC.
constexpr std::int64_t kUnixEpochIn1601Seconds = 11644473600;
constexpr std::int64_t kFileTimeUnitsPerSecond = 10000000;

}  // namespace

SystemTime PosixClock::LocalTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm local{};
  const std::time_t seconds = now.tv_sec;
  localtime_r(&seconds, &local);
  return SystemTime{static_cast<std::uint16_t>(local.tm_year + 1900),
                    static_cast<std::uint16_t>(local.tm_mon + 1),
                    static_cast<std::uint16_t>(local.tm_wday),
                    static_cast<std::uint16_t>(local.tm_mday),
                    static_cast<std::uint16_t>(local.tm_hour),
                    static_cast<std::uint16_t>(local.tm_min),
                    static_cast<std::uint16_t>(local.tm_sec),
                    static_cast<std::uint16_t>(now.tv_nsec / 1000000)};
}

std::optional<FileTime> PosixClock::LocalToFileTime(const SystemTime& local) {
  if (local.year < 1601 || local.milliseconds > 999) return std::nullopt;
  std::tm fields{};
  fields.tm_year = local.year - 1900;
  fields.tm_mon = local.month - 1;
  fields.tm_mday = local.day;
  fields.tm_hour = local.hour;
  fields.tm_min = local.minute;
  fields.tm_sec = local.second;
  fields.tm_isdst = -1;
  std::tm normalized = fields;
  const std::time_t seconds = std::mktime(&normalized);
  if (seconds == static_cast<std::time_t>(-1)) return std::nullopt;
  // mktime carries an out-of-range field into the next one (30 February becomes 2 March);
  // such a date is not a date.
  if (normalized.tm_year != fields.tm_year || normalized.tm_mon != fields.tm_mon ||
      normalized.tm_mday != fields.tm_mday || normalized.tm_min != fields.tm_min ||
      normalized.tm_sec != fields.tm_sec)
    return std::nullopt;
  const std::int64_t since1601 = static_cast<std::int64_t>(seconds) + kUnixEpochIn1601Seconds;
  if (since1601 < 0) return std::nullopt;
  return static_cast<FileTime>(since1601) * kFileTimeUnitsPerSecond +
         static_cast<FileTime>(local.milliseconds) * (kFileTimeUnitsPerSecond / 1000);
}

void PosixClock::Pause(std::uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::uint64_t PosixClock::ElapsedMicroseconds() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::microseconds>(since).count());
}

}  // namespace tarn::platform
