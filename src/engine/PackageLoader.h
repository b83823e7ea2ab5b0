#pragma once
// Loading the package before the wizard: the project, the language file and the installer's
// own files, all from the setup file (and its volumes). Any failure means a broken package.

#include "engine/SetupSession.h"

namespace tarn::engine {

// Reads the trailer, decompresses and loads the project, extracts and loads the language file.
bool LoadPackage(SetupSession& session);

// Extracts the installer's other files (the K entries after the language file).
bool ExtractInstallerFiles(SetupSession& session);

}  // namespace tarn::engine
