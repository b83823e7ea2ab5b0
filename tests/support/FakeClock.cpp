#include "support/FakeClock.h"

namespace tarn::test {

namespace {

// Days from 0000-03-01 to the given date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
  // Shift the year to start in March so the leap day comes last.
  year -= month <= 2;
  const std::int64_t era = year / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra;
}

std::int64_t DaysSince1601(std::int64_t year, std::int64_t month, std::int64_t day) {
  return DaysFromCivil(year, month, day) - DaysFromCivil(1601, 1, 1);
}

bool ValidDate(const platform::SystemTime& t) {
  static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (t.year < 1601 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > kDays[t.month - 1])
    return false;
  const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
  if (t.month == 2 && t.day == 29 && !leap) return false;
  return t.hour < 24 && t.minute < 60 && t.second < 60 && t.milliseconds < 1000;
}

}  // namespace

std::optional<platform::FileTime> FakeClock::LocalToFileTime(const platform::SystemTime& local) {
  if (!ValidDate(local)) return std::nullopt;
  const std::int64_t days = DaysSince1601(local.year, local.month, local.day);
  const std::int64_t seconds =
      days * 86400 + local.hour * 3600 + local.minute * 60 + local.second + utcOffsetMinutes * 60;
  if (seconds < 0) return std::nullopt;
  return static_cast<platform::FileTime>(seconds) * 10000000 +
         static_cast<platform::FileTime>(local.milliseconds) * 10000;
}

}  // namespace tarn::test
