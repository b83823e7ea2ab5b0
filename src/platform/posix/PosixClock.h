#pragma once
// The clock of a Linux system, in the time zone of the process (TZ).

#include "platform/Clock.h"

namespace tarn::platform {

class PosixClock : public Clock {
 public:
  SystemTime LocalTime() override;
  std::optional<FileTime> LocalToFileTime(const SystemTime& local) override;
  void Pause(std::uint32_t milliseconds) override;
  std::uint64_t ElapsedMicroseconds() override;
};

}  // namespace tarn::platform
