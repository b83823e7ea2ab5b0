#pragma once
// A session for one page on the real file system with the sample's texts; an in-memory
// registry unless the test names another.

#include <string>

#include "engine/session/SetupSession.h"
#include "platform/win32/Win32FileSystem.h"
#include "support/FakeClock.h"
#include "support/FakeRegistry.h"
#include "support/FakeSystemFacts.h"
#include "support/RecordingShell.h"

namespace tarn::test {

struct PageSession {
  explicit PageSession(platform::Registry* real = nullptr) : registry(real ? *real : fake) {
    session.Language.Load(std::string(TARN_SAMPLE_DIR) + "\\Language.ini", files);
  }
  platform::Win32FileSystem files;
  FakeRegistry fake;
  platform::Registry& registry;
  FakeSystemFacts system;
  FakeClock clock;
  RecordingShell shell;
  engine::SetupSession session{{files, registry, system, clock, shell}};
};

}  // namespace tarn::test
