#include "project/Task.h"

#include <utility>

namespace tarn::project {

void SubTask::AddField(FieldName name, std::string value) {
  fields_.emplace_back(name, std::move(value));
}

void Task::AddSubTask(SubTask subTask) { subTasks_.push_back(std::move(subTask)); }

}  // namespace tarn::project
