#include "engine/stages/LeftoversStage.h"

#include <vector>

#include "project/TaskIds.h"

namespace tarn::engine {

void RunLeftoversStage(InstallRun& run) {
  SetupSession& s = run.Session();
  run.Status(project::LanguageKey::ClearFileDesc);
  std::vector<std::string> leftovers;
  s.Project.GetFieldValues(project::task::Leftovers, project::SubTaskType::GetValue,
                           project::FieldName::File, leftovers);
  for (const auto& file : leftovers) {
    s.System.files.RemoveFile(s.Expand(file));
    if (run.CancelPoint()) break;
  }
}

}  // namespace tarn::engine
