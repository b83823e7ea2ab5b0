#pragma once
// The driver's command line: options, then one command and its arguments.

#include <optional>
#include <string>
#include <vector>

namespace tarn::driver {

struct Invocation {
  double timeoutSeconds = 15;  // generous: Wine on a busy machine is slow to show a window
  bool partial = false;        // captions need only contain the given text
  bool post = false;           // click without waiting for the click to be handled
  bool contains = false;       // wait-text: the text need only contain the expected text
  bool boxCaption = false;     // msgbox: match the box's own caption, not its owner's
  std::string controlClass;    // only controls of this window class (IDs repeat across pages)
  std::string command;
  std::vector<std::string> args;
};

// Options come before the command, so that typed text may start with "--". Nothing when the
// options are malformed or the command is missing.
std::optional<Invocation> ParseCommandLine(const std::vector<std::string>& words);

// The help text printed for a usage error.
const char* UsageText();

}  // namespace tarn::driver
