#include "wizard/PageKind.h"

#include "project/NameTables.h"

namespace tarn::wizard {

PageKind PageKindOf(const project::Task* task) {
  return task ? PageKindOf(task->Id()) : PageKind::None;
}

PageKind PageKindOf(std::string_view taskId) {
  // Kinds outside the page range name no page; they still step like any other task.
  return static_cast<PageKind>(project::TaskIndexOf(taskId));
}

}  // namespace tarn::wizard
