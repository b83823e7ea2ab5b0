#include "project/InstallProject.h"

#include <utility>

#include "project/ExtractionText.h"
#include "project/FieldLine.h"

namespace tarn::project {

void InstallProject::AddTask(Task task) {
  tasks_.push_back(std::move(task));
  cursor_.NoteTaskAdded(tasks_.size() - 1);
}

const Task* InstallProject::FindTask(std::string_view id) const {
  for (const Task& task : tasks_) {
    if (task.Id() == id) return &task;
  }
  return nullptr;
}

std::string InstallProject::GetFieldValue(std::string_view taskId, SubTaskType type,
                                          FieldName name) const {
  const Task* task = FindTask(taskId);
  if (!task) return "";
  for (const SubTask& subTask : task->SubTasks()) {
    if (subTask.Type() != type) continue;
    for (const FieldEntry& field : subTask.Fields()) {
      if (field.Name() == name) return field.Value();
    }
  }
  return "";
}

void InstallProject::GetFieldValues(std::string_view taskId, SubTaskType type, FieldName name,
                                    std::vector<std::string>& values) const {
  values.clear();
  const Task* task = FindTask(taskId);
  if (!task) return;
  for (const SubTask& subTask : task->SubTasks()) {
    if (subTask.Type() != type) continue;
    for (const FieldEntry& field : subTask.Fields()) {
      if (field.Name() == name) values.push_back(field.Value());
    }
  }
}

void InstallProject::SetExtractionText(std::string text, std::uint32_t codePage) {
  extractionText_ = std::move(text);
  codePage_ = codePage;
}

bool InstallProject::RebuildExtractionTask() {
  Task* task = nullptr;
  for (Task& candidate : tasks_) {
    if (candidate.Id() == kExtractionTaskId) {
      task = &candidate;
      break;
    }
  }
  ListSection folders;
  ListSection files;
  // Check before touching the task so a broken text never leaves it half filled.
  if (!task || !FindExtractionLists(extractionText_, codePage_, folders, files)) return false;

  SubTask folderList("10001", SubTaskType::FolderList);
  for (std::string_view line : folders.lines) {
    folderList.AddField(ParseFieldLine(line, codePage_));
  }
  SubTask fileList("10002", SubTaskType::FileList);
  for (std::string_view line : files.lines) {
    fileList.AddField(ParseFieldLine(line, codePage_));
  }
  task->RemoveAllSubTasks();
  task->AddSubTask(std::move(folderList));
  task->AddSubTask(std::move(fileList));
  return true;
}

void InstallProject::Clear() {
  tasks_.clear();
  cursor_.Reset();
  projectName_.clear();
  extractionText_.clear();
  codePage_ = 0;
  InstalledFileList.clear();
  CreatedFolderList.clear();
}

}  // namespace tarn::project
