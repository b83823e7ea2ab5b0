#pragma once
// Shortcuts (shell links) of the product: the worker's shortcut stage, the optional shortcuts
// the finish page offers, and the single operation both use (also for the uninstall shortcut).

#include <cstdint>
#include <functional>
#include <string>

#include "engine/InstallRun.h"
#include "engine/RegistryKey.h"
#include "engine/SetupSession.h"
#include "project/Task.h"

namespace tarn::engine {

// Where a shortcut file goes. Projects also carry the codes 5 and 6, which write nothing, so
// the operation takes any code as a plain integer.
enum class ShortcutLocation : std::int32_t {
  Desktop = 4,
  ProgramGroup = 7,
  Startup = 8,
  QuickLaunch = 9,
};

// An internet address rather than a file: it begins with "HTTP://" in any letter case.
bool IsWebAddress(const std::string& target);

// Saves a shortcut named `description` to `target` (already expanded) in the folder of
// `location`; for Quick Launch, `alternate` picks the first of the two folders. The shortcut
// file is listed for the roll-back, and with `record` and a holder its path is also stored on
// the holder's key as "FileLink" + `index`. A program group shortcut without a program folder,
// and any location without a known folder, write nothing. Failures are silent.
void CreateShortcut(SetupSession& s, const std::string& description, const std::string& target,
                    const std::string& arguments, const std::string& iconFile,
                    std::int32_t location, bool alternate, bool record, std::int32_t index,
                    RegistryKey* holder);

// The worker's stage: every shortcut the project asks for, except those left to the finish
// page. Stops early when the user abandons the installation at a cancel point.
void RunShortcutStage(InstallRun& run);

// The shortcuts the finish page offered, for each subtask `isTicked` accepts; their paths and
// count are recorded under the product's version key.
void CreateFinishPageShortcuts(SetupSession& s,
                               const std::function<bool(const project::SubTask&)>& isTicked);

// Control ID of the finish page's check box for an offered shortcut.
std::int32_t FinishCheckBoxId(const project::SubTask& subTask);

// The product's key below kProductKey: company, project name and, with `withVersion`, the
// product version, as the project's properties give them.
std::string ProductKeyPath(const SetupSession& s, bool withVersion);

}  // namespace tarn::engine
