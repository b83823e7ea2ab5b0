#pragma once
// The check of the chosen installation folder as the wizard leaves for the installation.

#include <cstddef>
#include <optional>
#include <string>

#include "engine/session/SetupSession.h"

namespace tarn::pages {

// Paths of 300 characters or more do not fit where the wizard keeps them and are refused.
constexpr std::size_t kMaxInstallPathLength = 299;

// Normalises the path (a longer path than a drive root loses its trailing backslash), creates
// it, makes it the current folder and the "[InstallDir]" value. Nothing, with nothing changed
// but folders created, when the wizard must stay on the page: a path shorter than three
// characters or too long, or one that cannot be created and entered.
std::optional<std::string> AcceptInstallPath(engine::SetupSession& session, std::string path);

}  // namespace tarn::pages
