#pragma once
// The installation log an administrator asks for with /LOG=: one time-stamped UTF-8 line per
// event, written to the file at once, so that even a run that is killed leaves what it did.
// Until it is opened every call does nothing, and the run is the same with or without it.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Threads.h"

namespace tarn::engine {

class InstallLog {
 public:
  // Creates the file, or empties it; false when it cannot be created.
  bool Open(platform::FileSystem& files, platform::Clock& clock, const std::string& path,
            std::uint32_t codePage);
  bool IsOpen() const;
  // One line, `text` in the ANSI code page; a text with line ends gives one line for each.
  // Safe to call from the worker and the user-interface thread at once.
  void Line(const std::string& text);

 private:
  mutable platform::Mutex mutex_;
  std::unique_ptr<platform::File> file_;
  platform::Clock* clock_ = nullptr;
  std::uint32_t codePage_ = 0;
};

}  // namespace tarn::engine
