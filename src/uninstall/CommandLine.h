#pragma once
// The uninstaller's command line, as the setup registers it and as administrators write it:
//   <uninstaller> [/S] [/LOG=file] <record path>
// The uninstaller's own path may be quoted or not; everything after the options is the record
// path, blanks included, quoted or not.

#include <optional>
#include <string>
#include <string_view>

namespace tarn::uninstall {

struct UninstallCommand {
  bool silent = false;
  std::string logPath;
  std::string recordPath;
};

// `line` is the whole command line, program path first; `modulePath` is where the running
// program lies, which tells an unquoted program path with blanks from its arguments. Nothing
// for a line without a record path, with an unknown option or an empty log file name.
std::optional<UninstallCommand> ParseUninstallCommandLine(std::string_view line,
                                                          std::string_view modulePath);

}  // namespace tarn::uninstall
