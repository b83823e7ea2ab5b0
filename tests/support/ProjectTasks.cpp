#include "support/ProjectTasks.h"

namespace tarn::test {

project::SubTask MakeSubTask(const std::string& id, project::SubTaskType type,
                             const SubTaskFields& fields) {
  project::SubTask sub(id, type);
  for (const auto& [name, value] : fields) sub.AddField(name, value);
  return sub;
}

project::Task MakeTask(std::string_view id, const std::vector<project::SubTask>& subTasks) {
  project::Task task{std::string(id), project::TaskType::ShowDialogBox, true};
  for (const auto& sub : subTasks) task.AddSubTask(sub);
  return task;
}

}  // namespace tarn::test
