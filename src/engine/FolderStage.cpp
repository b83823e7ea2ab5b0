#include "engine/FolderStage.h"

#include "engine/FolderChain.h"
#include "text/ByteText.h"

namespace tarn::engine {

namespace {

constexpr const char* kStartMenu = "[Start Menu]\\";

void CreateAndRecord(SetupSession& s, const std::string& path) {
  if (CreateFolderChain(s.System.files, path, s.CodePage))
    s.Project.CreatedFolderList.push_back(path);
}

}  // namespace

void RunFolderStage(InstallRun& run, std::vector<std::string> folders) {
  SetupSession& s = run.Session();
  run.Status(project::LanguageKey::CreateFolderDesc);
  if (!s.ProgramFolderPath.empty()) {
    for (auto& folder : folders) {
      if (text::EqualsIgnoreAsciiCase(folder, kStartMenu)) {
        folder = kStartMenu + s.ProgramFolderPath;
        break;
      }
    }
    CreateAndRecord(s, s.Expand(kStartMenu + s.ProgramFolderPath));
    s.ProgramFolderPath = s.Expand(kStartMenu + s.ProgramFolderPath + "\\");
  }
  for (const auto& folder : folders) {
    CreateAndRecord(s, s.Expand(folder));
    run.EntryPause();
    if (run.CancelPoint()) break;
  }
}

}  // namespace tarn::engine
