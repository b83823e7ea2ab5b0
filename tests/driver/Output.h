#pragma once
// Plain byte output: the text a test script captures must not gain carriage returns.

#include <string>

#include "ExitCode.h"

namespace tarn::driver {

// Writes `text` to standard output unchanged.
void WriteOut(const std::string& text);
// Writes `text` and a line feed.
void WriteLine(const std::string& text);
// Writes `text` to standard error unchanged.
void WriteErr(const std::string& text);
// Writes "tarndriver: <message>" to standard error.
void Complain(const std::string& message);
// Complains and returns kFailed, for one-line failure paths.
ExitCode Fail(const std::string& message);

}  // namespace tarn::driver
