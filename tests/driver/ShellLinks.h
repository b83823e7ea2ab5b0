#pragma once
// Reads a shell link (.lnk) file back through the shell's own interface, for the scenarios that
// check the shortcuts an installation made.

#include <string>

#include "ExitCode.h"

namespace tarn::driver {

// Prints the link's target, arguments and working folder, one per line.
ExitCode PrintShellLink(const std::string& path);

}  // namespace tarn::driver
