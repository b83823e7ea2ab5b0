#pragma once
// Loading the package before the wizard: the project, the language file and the installer's
// own files, all from the setup file (and its volumes). Any failure means a broken package.

#include "engine/session/SetupSession.h"

namespace tarn::startup {

// Reads the trailer, decompresses and loads the project, extracts and loads the language file.
bool LoadPackage(engine::SetupSession& session);

// The two Quick Launch folders of this user and machine, into the session.
void FindQuickLaunchFolders(engine::SetupSession& session);

// Extracts the installer's other files (the K entries after the language file).
bool ExtractInstallerFiles(engine::SetupSession& session);

}  // namespace tarn::startup
