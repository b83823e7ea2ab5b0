// tarndriver: drives a running Windows program from another process, for end-to-end tests.

#include <string>
#include <vector>

#include "CommandLine.h"
#include "Commands.h"
#include "Output.h"

int main(int argc, char** argv) {
  using namespace tarn::driver;
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty() || words[0] == "--help") {
    if (words.empty()) {
      WriteErr(UsageText());
      return kUsage;
    }
    WriteOut(UsageText());
    return kOk;
  }
  const auto invocation = ParseCommandLine(words);
  if (!invocation) {
    Complain("bad command line (tarndriver --help shows the usage)");
    return kUsage;
  }
  return RunCommand(*invocation);
}
