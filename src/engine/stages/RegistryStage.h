#pragma once
// The registry stage: REG files handed to the system's registry editor, then the project's
// registry operations.

#include "engine/actions/RegistryKey.h"
#include "engine/stages/InstallRun.h"

namespace tarn::engine {

// `holder` is the worker's own key holder: a root named by one operation stays for the next.
void RunRegistryStage(InstallRun& run, RegistryKey& holder);

}  // namespace tarn::engine
