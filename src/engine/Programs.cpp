#include "engine/Programs.h"

namespace tarn::engine {

std::uint32_t RunAndWait(platform::Shell& shell, const std::string& path, std::int32_t show) {
  // Quoted, so that a path with blanks ("C:\Documents and Settings\...") names one program.
  const auto code = shell.RunAndWait("\"" + path + "\"", show);
  if (!code) {
    shell.ShowMessage("Create process failed", "Error");
    return kStartFailed;
  }
  return *code;
}

}  // namespace tarn::engine
