#pragma once
// The last step of the install worker: the uninstall record (a copy of the project document),
// the entry in the system's list of installed programs, the record type's association with the
// separate uninstaller, the uninstall shortcut and the product's own keys.

#include "engine/stages/InstallRun.h"

namespace tarn::engine {

// The uninstaller the package installs into the Windows folder, and the record type it opens.
constexpr const char* kUninstallerName = "Tarn-UnInstall.exe";
constexpr const char* kRecordExtension = ".UCIP";
constexpr const char* kRecordType = "TarnUnInstall";

// Stops after copying the record when the user abandons the installation at that point.
void RunUninstallStage(InstallRun& run);

}  // namespace tarn::engine
