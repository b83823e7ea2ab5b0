#pragma once
// The defaults start-up takes from the project and the registry before the wizard appears.

#include <string>

#include "engine/session/SetupSession.h"
#include "startup/SetupCommandLine.h"

namespace tarn::startup {

// Program folder, company, product key, pre-install program, and the installation folder:
// the project's InstallPath, unless an earlier installation of the same project left its
// folder in the registry.
void ApplyStartupDefaults(engine::SetupSession& session);

// What the command line chose overrides those defaults: the installation folder and the
// program folder. Logged with the package and project facts the run starts from.
void ApplySetupOptions(engine::SetupSession& session, const SetupOptions& options);

// Whether the project asks for the advertisement picture, and where the loading put it.
bool WantsAdPicture(const engine::SetupSession& session);
std::string AdPicturePath(engine::SetupSession& session);
// Where the loading put the pre-install program.
std::string PreInstallProgramPath(engine::SetupSession& session);

}  // namespace tarn::startup
