#pragma once
// The installation project as read from the package: the ordered task list, the wizard's cursor
// over it, and the lists the install worker keeps of what it created (for the roll-back).
// One object lives for the whole run; the cursor refers to the task list, so the object is
// neither copied nor moved.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "project/NameTables.h"
#include "project/Task.h"
#include "project/TaskCursor.h"

namespace tarn::project {

// The ID of the task that lists the folders and files to extract.
inline constexpr std::string_view kExtractionTaskId = "2412";

class InstallProject {
 public:
  InstallProject() = default;
  InstallProject(const InstallProject&) = delete;
  InstallProject& operator=(const InstallProject&) = delete;

  const std::vector<Task>& Tasks() const { return tasks_; }
  std::size_t TaskCount() const { return tasks_.size(); }
  // Throws std::out_of_range for an index outside the list.
  const Task& TaskAt(std::size_t index) const { return tasks_.at(index); }

  // Appends a task and lets the cursor note it if it is executable.
  void AddTask(Task task);

  // The first task whose ID equals `id` byte for byte, or null.
  const Task* FindTask(std::string_view id) const;

  // The first value named `name` in the subtasks of type `type` of task `taskId`, walking
  // subtasks and then fields in order; "" when there is none.
  std::string GetFieldValue(std::string_view taskId, SubTaskType type, FieldName name) const;
  // Replaces `values` with every such value, in subtask order and field order.
  void GetFieldValues(std::string_view taskId, SubTaskType type, FieldName name,
                      std::vector<std::string>& values) const;

  const std::string& ProjectName() const { return projectName_; }
  void SetProjectName(std::string name) { projectName_ = std::move(name); }

  // The document text of the extraction task as read at load, kept unchanged for the run.
  const std::string& ExtractionText() const { return extractionText_; }
  // The ANSI code page the document was read in; later searches of the kept text use it.
  std::uint32_t CodePage() const { return codePage_; }
  void SetExtractionText(std::string text, std::uint32_t codePage);

  // Refills the extraction task with every folder and every file entry of the kept text.
  // False (and the task left as it was) when there is no extraction task or the kept text
  // lacks its folder or file list.
  bool RebuildExtractionTask();

  TaskCursor& Cursor() { return cursor_; }
  const TaskCursor& Cursor() const { return cursor_; }

  // Empties the project, as before reading a document.
  void Clear();

  // Filled by the install worker only, in the order it works, and read by the roll-back.
  std::vector<std::string> InstalledFileList;
  std::vector<std::string> CreatedFolderList;

 private:
  std::vector<Task> tasks_;
  TaskCursor cursor_{tasks_};
  std::string projectName_;
  std::string extractionText_;
  std::uint32_t codePage_ = 0;
};

}  // namespace tarn::project
