#pragma once
// The reader of the project document. The document looks like XML but is read line by line:
// every element sits on a line of its own starting in the first column, and the lines are
// matched with plain substring searches that step over double-byte characters of `codePage`.
//
//   <Task ID="2402" Type="DataSetting" IsExec="0">
//   <SubTask ID="10001" Type="GetAllVar">
//   <PathDesc>[InstallDir]</PathDesc>
//   </SubTask>
//   </Task>
//
// Attribute names are never looked at: position gives each value its meaning. Malformed lines
// are skipped or become InvalidField entries; nothing stops the reading of the whole document.

#include <cstdint>
#include <string_view>

#include "project/InstallProject.h"
#include "project/Task.h"

namespace tarn::project {

// One subtask block, its lines joined by CR LF. A first line that is not a subtask start line
// gives an empty subtask; a start line without its type gives a subtask with only its ID.
SubTask ParseSubTask(std::string_view block, std::uint32_t codePage);

// One task block, its lines joined by CR LF. A start line with a missing attribute gives a task
// with what was read before the gap and no subtasks.
Task ParseTask(std::string_view block, std::uint32_t codePage);

// Appends the tasks of a document to `project` and puts the cursor on the first executable
// task. The first three lines and the last line of the document are not read.
void ParseDocument(std::string_view document, std::uint32_t codePage, InstallProject& project);

}  // namespace tarn::project
