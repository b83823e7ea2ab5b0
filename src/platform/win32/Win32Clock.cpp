#include "platform/win32/Win32Clock.h"

#include <windows.h>

#include <mmsystem.h>

namespace tarn::platform {

SystemTime Win32Clock::LocalTime() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return SystemTime{st.wYear, st.wMonth,  st.wDayOfWeek, st.wDay,
                    st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
}

std::optional<FileTime> Win32Clock::LocalToFileTime(const SystemTime& local) {
  SYSTEMTIME st;
  st.wYear = local.year;
  st.wMonth = local.month;
  st.wDayOfWeek = local.dayOfWeek;
  st.wDay = local.day;
  st.wHour = local.hour;
  st.wMinute = local.minute;
  st.wSecond = local.second;
  st.wMilliseconds = local.milliseconds;
  FILETIME localTime, utc;
  if (!SystemTimeToFileTime(&st, &localTime)) return std::nullopt;
  if (!LocalFileTimeToFileTime(&localTime, &utc)) return std::nullopt;
  return (static_cast<FileTime>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
}

void Win32Clock::Pause(std::uint32_t milliseconds) { Sleep(milliseconds); }

std::uint64_t Win32Clock::ElapsedMicroseconds() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER count;
  if (!QueryPerformanceFrequency(&frequency) || !QueryPerformanceCounter(&count) ||
      frequency.QuadPart <= 0)
    return 0;
  const auto ticks = static_cast<std::uint64_t>(count.QuadPart);
  const auto perSecond = static_cast<std::uint64_t>(frequency.QuadPart);
  return ticks / perSecond * 1000000 + ticks % perSecond * 1000000 / perSecond;
}

// Without it, Sleep(3) waits a whole tick of the default 15.6 ms timer.
void Win32Clock::RaiseTimerResolution() { timeBeginPeriod(1); }
void Win32Clock::RestoreTimerResolution() { timeEndPeriod(1); }

}  // namespace tarn::platform
