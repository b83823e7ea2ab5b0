#include "engine/session/SetupSession.h"

#include <algorithm>

#include "package/RunStamp.h"
#include "platform/Threads.h"

namespace tarn::engine {

unsigned DefaultDecodeThreads() {
  constexpr unsigned kMostDecoders = 4;
  return std::clamp(platform::ProcessorCount(), 1u, kMostDecoders);
}

SetupSession::SetupSession(const Platform& platform)
    : LoggedRegistry(platform.registry, Log),
      LoggedShell(platform.shell, Log),
      System{platform.files, LoggedRegistry, platform.system, platform.clock, LoggedShell},
      CodePage(platform.system.AnsiCodePage()),
      Language(platform.system.SystemLocale(), CodePage),
      Reader(platform.files, ExtractionOver, CodePage) {}

std::string SetupSession::StampedTempName(const std::string& path) {
  return package::StampedTempName(path, RunStamp, CodePage, Expander());
}

}  // namespace tarn::engine
