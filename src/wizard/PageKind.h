#pragma once
// Which page a project task shows.

#include <cstdint>

#include "project/Task.h"

namespace tarn::wizard {

// The page a task shows: its ID's position in the task table.
enum class PageKind : std::int32_t {
  Welcome = 1,
  Licence = 2,
  Readme = 3,
  UserInfo = 4,
  ProgramFolder = 5,
  InstallPath = 6,
  Progress = 7,
  FinishRestart = 8,
  FinishPrograms = 9,
  None = 22,
};

// The kind of page a task shows; PageKind::None for a task that is no page.
PageKind PageKindOf(const project::Task* task);
// The same for a task ID.
PageKind PageKindOf(std::string_view taskId);

}  // namespace tarn::wizard
