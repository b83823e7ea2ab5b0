#pragma once
// The clean-up list stage: files the project names as leftovers of the installation go.

#include "engine/stages/InstallRun.h"

namespace tarn::engine {

void RunLeftoversStage(InstallRun& run);

}  // namespace tarn::engine
