#pragma once
// Running other programs and waiting for them.

#include <cstdint>
#include <string>

#include "platform/Shell.h"

namespace tarn::engine {

// What RunAndWait gives when the program could not be started.
constexpr std::uint32_t kStartFailed = 781205;

// Runs the program at `path` and waits for it; its exit code, or kStartFailed after telling
// the user it could not be started.
std::uint32_t RunAndWait(platform::Shell& shell, const std::string& path, std::int32_t show);

}  // namespace tarn::engine
