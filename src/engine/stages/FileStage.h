#pragma once
// The file stage: every entry of the file list written out of the package, with its time stamp
// and the action its kind asks for afterwards.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/stages/InstallRun.h"

namespace tarn::engine {

// Percent of `counted` out of `total`, truncated; 100 at most. Nothing for a total of zero or
// less, which gives no meaningful share.
std::optional<std::int32_t> ProgressPercent(std::int32_t counted, std::int32_t total);

// Writes the entries in order. Ends early when the user abandons after a write error or a
// volume is given up (InstallRunning is then false).
void RunFileStage(InstallRun& run, const std::vector<std::string>& entries);

}  // namespace tarn::engine
