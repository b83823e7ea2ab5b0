#include "engine/stages/FolderStage.h"

#include "engine/actions/FolderChain.h"
#include "text/ByteText.h"

namespace tarn::engine {

namespace {

constexpr const char* kStartMenu = "[Start Menu]\\";

const char* FolderOutcome(bool existed, bool accepted, bool exists) {
  if (!accepted) return "Folder refused (path too long): ";
  if (existed) return "Folder exists: ";
  return exists ? "Folder created: " : "Folder could not be created: ";
}

void CreateAndRecord(SetupSession& s, const std::string& path) {
  const bool logged = s.Log.IsOpen();
  const bool existed = logged && s.System.files.IsDirectory(path);
  for (const auto& folder : MissingFolders(s.System.files, path, s.CodePage))
    s.Journal.Folder(folder);
  const bool accepted = CreateFolderChain(s.System.files, path, s.CodePage);
  if (accepted) s.Project.CreatedFolderList.push_back(path);
  if (logged)
    s.Log.Line(FolderOutcome(existed, accepted, accepted && s.System.files.IsDirectory(path)) +
               text::Quoted(path));
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
