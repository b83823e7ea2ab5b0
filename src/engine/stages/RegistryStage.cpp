#include "engine/stages/RegistryStage.h"

#include <vector>

#include "engine/actions/RegistryOperations.h"
#include "project/TaskIds.h"

namespace tarn::engine {

void RunRegistryStage(InstallRun& run, RegistryKey& holder) {
  SetupSession& s = run.Session();
  run.Status(project::LanguageKey::OperationRegistryDesc);
  std::vector<std::string> components;
  s.Project.GetFieldValues(project::task::Components, project::SubTaskType::GetValue,
                           project::FieldName::File, components);
  ImportRegFilesWithEditor(s, components);

  const project::Task* operations = s.Project.FindTask(project::task::RegistryOperations);
  if (!operations) return;
  for (const auto& subTask : operations->SubTasks()) {
    if (subTask.Type() == project::SubTaskType::Registry)
      ExecuteRegistrySubTask(holder, subTask, "", s.Paths());
    if (run.CancelPoint()) break;
  }
}

}  // namespace tarn::engine
