#pragma once
// The setup program's command line: a silent installation, the installation folder, the Start
// menu program folder and a log file, as an administrator gives them.

#include <cstdint>
#include <optional>
#include <string>

namespace tarn::startup {

// What the administrator asked for on the command line.
struct SetupOptions {
  bool silent = false;                       // /S
  std::optional<std::string> installDir;     // /D=path
  std::optional<std::string> programFolder;  // /GROUP=name
  std::optional<std::string> logPath;        // /LOG=file
};

struct ParsedCommandLine {
  // What could be read, also when `error` is set (so /S and /LOG= still decide where the usage
  // goes). A value is only ever set when it passed its checks.
  SetupOptions options;
  // Empty for a good command line; otherwise one short English sentence naming the first
  // problem, e.g. "Unknown option \"/X\"."
  std::string error;
};

// `arguments` is the command line after the program's name (as WinMain receives it), bytes in
// the ANSI code page `codePage`.
ParsedCommandLine ParseSetupCommandLine(const std::string& arguments, std::uint32_t codePage);

// The usage text for a bad command line (several lines joined with "\r\n", no trailing line
// end).
std::string SetupUsageText();

}  // namespace tarn::startup
