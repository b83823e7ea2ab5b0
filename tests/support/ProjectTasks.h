#pragma once
// Tasks and subtasks built in memory, for tests that hand a project straight to the engine or a
// page instead of reading it from a document.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "project/Task.h"

namespace tarn::test {

using SubTaskFields = std::vector<std::pair<project::FieldName, std::string>>;

// A subtask with its fields in the order given.
project::SubTask MakeSubTask(const std::string& id, project::SubTaskType type,
                             const SubTaskFields& fields);
// A task shown as a dialog and run (IsExec 1), holding copies of `subTasks`.
project::Task MakeTask(std::string_view id, const std::vector<project::SubTask>& subTasks);
// The properties task (2401) of a product: company, name and version, as the data it is.
project::Task ProductProperties(const std::string& company, const std::string& name,
                                const std::string& version);

}  // namespace tarn::test
