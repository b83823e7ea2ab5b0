#pragma once
// The clock of the running Windows system.

#include "platform/Clock.h"

namespace tarn::platform {

class Win32Clock : public Clock {
 public:
  SystemTime LocalTime() override;
  std::optional<FileTime> LocalToFileTime(const SystemTime& local) override;
  void Pause(std::uint32_t milliseconds) override;
  std::uint64_t ElapsedMicroseconds() override;
  void RaiseTimerResolution() override;
  void RestoreTimerResolution() override;
};

}  // namespace tarn::platform
