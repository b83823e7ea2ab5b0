#pragma once
// The fakes of one machine, bundled: a scratch folder for its files, an in-memory registry,
// system facts and a clock set by the test, and a shell that only writes down its calls. A test
// fixture derives from it to have them all under their usual names.

#include "platform/Platform.h"
#include "support/FakeClock.h"
#include "support/FakeRegistry.h"
#include "support/FakeSystemFacts.h"
#include "support/RecordingShell.h"
#include "support/ScratchFolder.h"

namespace tarn::test {

struct FakeMachine {
  // The services for a run, on the given file layer (one that wraps the scratch folder's).
  platform::Platform Services(platform::FileSystem& files) {
    return {files, registry, system, clock, shell};
  }
  platform::Platform Services() { return Services(dir.Files()); }

  ScratchFolder dir;
  FakeRegistry registry;
  FakeSystemFacts system;
  FakeClock clock;
  RecordingShell shell;
};

}  // namespace tarn::test
