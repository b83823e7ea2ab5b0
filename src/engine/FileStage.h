#pragma once
// The file stage: every entry of the file list written out of the package, with its time stamp
// and the action its kind asks for afterwards.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/InstallRun.h"

namespace tarn::engine {

// The version of the uninstaller this setup program carries, and how it is written down.
constexpr double kUninstallerVersion = 5.33;
constexpr const char* kUninstallerVersionText = "5.33";

// Percent of `counted` out of `total`, truncated; 100 at most. Nothing for a total of zero or
// less, which gives no meaningful share.
std::optional<std::int32_t> ProgressPercent(std::int32_t counted, std::int32_t total);

// The value of a decimal text such as "5.4", read like the C runtime's atof.
double ParseDecimalFraction(const std::string& text);

// Writes the entries in order. Ends early when the user abandons after a write error or a
// volume is given up (InstallRunning is then false).
void RunFileStage(InstallRun& run, const std::vector<std::string>& entries);

}  // namespace tarn::engine
