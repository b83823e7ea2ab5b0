#pragma once
// The clean-up that ends every run: temporary files go, and an abandoned installation is rolled
// back (its files and the folders it created), except files under the Windows folder and the
// shared database-engine folder, which other programs may already rely on.

#include "engine/session/SetupSession.h"

namespace tarn::engine {

void RunCleanup(SetupSession& session);

}  // namespace tarn::engine
