#include "engine/stages/ComponentStage.h"

#include <vector>

#include "engine/actions/Programs.h"
#include "project/TaskIds.h"
#include "text/ByteText.h"

namespace tarn::engine {

void RunComponentStage(InstallRun& run) {
  SetupSession& s = run.Session();
  run.Status(project::LanguageKey::RegisterComDesc);
  std::vector<std::string> components;
  s.Project.GetFieldValues(project::task::Components, project::SubTaskType::GetValue,
                           project::FieldName::File, components);
  const std::string registrar = text::Quoted(s.Expand("[System Directory]") + "\\Regsvr32.exe");
  for (const auto& component : components) {
    if (run.CancelPoint()) break;
    const std::string extension = text::AsciiUpper(text::FileExtension(component, s.CodePage));
    const std::string path = s.Expand(component);
    if (extension == "OCX" || extension == "DLL" || extension == "AX") {
      StartCommand(s.System.shell, registrar + " " + text::Quoted(path) + " /s",
                   platform::kShowShow);
    } else if (extension == "EXE") {
      RunAndWait(s.System, s.CodePage, path, platform::kShowShow);
    } else if (extension != "REG") {
      s.System.shell.OpenDocument(path, "", "", platform::kShowShow);
    }
  }
}

}  // namespace tarn::engine
