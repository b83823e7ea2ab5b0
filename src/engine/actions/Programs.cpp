#include "engine/actions/Programs.h"

#include "text/ByteText.h"
#include "text/PathParts.h"

namespace tarn::engine {

std::string ProgramFolder(const std::string& path, std::uint32_t codePage) {
  return text::ProgramFolderOf(path, codePage);
}

std::uint32_t RunAndWait(const Platform& platform, std::uint32_t codePage, const std::string& path,
                         std::int32_t show) {
  const std::string commandLine = text::Quoted(path);
  std::optional<std::uint32_t> code;
  if (commandLine.size() <= kMaxCommandLength) {
    const std::string folder = ProgramFolder(path, codePage);
    if (!folder.empty()) platform.files.ChangeCurrentDirectory(folder);
    code = platform.shell.RunAndWait(commandLine, show);
  }
  if (!code) {
    platform.shell.ShowMessage("Create process failed", "Error");
    return kStartFailed;
  }
  return *code;
}

bool StartCommand(platform::Shell& shell, const std::string& commandLine, std::int32_t show) {
  if (commandLine.size() > kMaxCommandLength) return false;
  return shell.StartProgram(commandLine, show);
}

}  // namespace tarn::engine
