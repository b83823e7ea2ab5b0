#include "engine/stages/ShortcutStage.h"

#include "engine/actions/Shortcuts.h"
#include "project/TaskIds.h"

namespace tarn::engine {

using project::SubTask;
using project::SubTaskType;

void RunShortcutStage(InstallRun& run) {
  run.Status(project::LanguageKey::CreateFileLinkDesc);
  SetupSession& s = run.Session();
  const project::Task* task = s.Project.FindTask(project::task::Shortcuts);
  if (!task) return;
  std::int32_t unused = 0;
  for (const SubTask& sub : task->SubTasks()) {
    if (sub.Type() != SubTaskType::CreateShortcutMenu) continue;
    const ShortcutEntry entry = ReadShortcutEntry(s, sub);
    if (!entry.offeredAtFinish) CreateShortcutSet(s, entry, nullptr, unused);
    if (run.CancelPoint()) break;
  }
}

}  // namespace tarn::engine
