#pragma once
// The worker's first stage: the program group and the project's folders.

#include <string>
#include <vector>

#include "engine/stages/InstallRun.h"

namespace tarn::engine {

// Creates the program group (when a program folder name was chosen, which then becomes the
// group's full path ending in a backslash) and every folder of `folders`, recording each in the
// project's list of created folders.
void RunFolderStage(InstallRun& run, std::vector<std::string> folders);

}  // namespace tarn::engine
