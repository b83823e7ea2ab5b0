#pragma once
// The component stage: COM servers registered, programs run, other files opened.

#include "engine/stages/InstallRun.h"

namespace tarn::engine {

void RunComponentStage(InstallRun& run);

}  // namespace tarn::engine
