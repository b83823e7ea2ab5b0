#pragma once
// The registry work a project describes: registry subtasks, registry text files carried in the
// package, and REG files handed to the system's registry editor.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/actions/RegistryKey.h"
#include "engine/session/SetupSession.h"
#include "project/PathVariables.h"
#include "project/Task.h"

namespace tarn::engine {

// Writes or deletes what one Registry (or EditBox) subtask names, through `holder`. A root
// named by the subtask stays set on the holder for later subtasks that name none. A non-empty
// `overrideValue` (the text the user typed) replaces the subtask's value. Results are ignored.
void ExecuteRegistrySubTask(RegistryKey& holder, const project::SubTask& subTask,
                            const std::string& overrideValue, const project::PathContext& paths);

// Registry text files hold keys and string values, seldom more than a few megabytes; a larger
// one is refused whole rather than read into a 32-bit address space.
constexpr std::uint64_t kMaxRegistryTextSize = 64u << 20;

// Imports a registry text file: "[ROOT\path]" key lines and "name"="value" string lines.
// Other lines are ignored; a missing file, or one above the size limit, imports nothing.
void ImportRegistryTextFile(SetupSession& session, const std::string& path);

// Starts the system registry editor, silently and without waiting, for each file whose
// extension is REG in any letter case. Other files are left alone.
void ImportRegFilesWithEditor(SetupSession& session, const std::vector<std::string>& files);

}  // namespace tarn::engine
