#pragma once
// Runs one parsed driver command against the windows on the desktop.

#include "CommandLine.h"
#include "ExitCode.h"

namespace tarn::driver {

ExitCode RunCommand(const Invocation& invocation);

}  // namespace tarn::driver
