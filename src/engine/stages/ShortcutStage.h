#pragma once
// The shortcut stage: every shortcut the project asks for, except those left to the finish page.

#include "engine/stages/InstallRun.h"

namespace tarn::engine {

// Stops early when the user abandons the installation at a cancel point.
void RunShortcutStage(InstallRun& run);

}  // namespace tarn::engine
