#pragma once
// Polling with a time limit: everything the driver waits for happens in another process, so it
// looks again every few milliseconds until the condition holds or the time is up.

#include <windows.h>

namespace tarn::driver {

class Deadline {
 public:
  explicit Deadline(double seconds)
      : end_(GetTickCount64() + static_cast<ULONGLONG>(seconds > 0 ? seconds * 1000.0 : 0.0)) {}

  bool Passed() const { return GetTickCount64() >= end_; }
  // Milliseconds left, at least 1 so that it can serve as a message time-out.
  UINT Remaining() const {
    const ULONGLONG now = GetTickCount64();
    return now >= end_ ? 1u : static_cast<UINT>(end_ - now);
  }

 private:
  ULONGLONG end_;
};

// Evaluates `condition` at least once, then again every 50 ms until it holds or the deadline
// passes. Returns whether it held.
template <typename Condition>
bool WaitUntil(const Deadline& deadline, Condition condition) {
  for (;;) {
    if (condition()) return true;
    if (deadline.Passed()) return false;
    Sleep(50);
  }
}

}  // namespace tarn::driver
