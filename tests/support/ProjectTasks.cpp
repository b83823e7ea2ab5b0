#include "support/ProjectTasks.h"

#include "project/TaskIds.h"

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

project::Task ProductProperties(const std::string& company, const std::string& name,
                                const std::string& version) {
  project::Task properties(std::string(project::task::Properties), project::TaskType::DataSetting,
                           false);
  properties.AddSubTask(MakeSubTask("10001", project::SubTaskType::GetAllVar,
                                    {{project::FieldName::CompanyDesc, company},
                                     {project::FieldName::ProjectName, name},
                                     {project::FieldName::ProductVersion, version}}));
  return properties;
}

}  // namespace tarn::test
