#pragma once
// Carrying out a removal plan, in its order: components unregistered, shortcuts, files and the
// record removed, folders removed when empty, registry items and the product's keys deleted,
// and, when no other product of this system is left, the shared uninstaller with its record
// type, texts and version mark. Files in use are moved aside and removed at the next restart.

#include <string>

#include "engine/session/SetupSession.h"
#include "uninstall/RemovalPlan.h"
#include "uninstall/RemovalServices.h"
#include "uninstall/UninstallHost.h"
#include "uninstall/UninstallTexts.h"

namespace tarn::uninstall {

enum class RemovalEnd {
  Complete,
  AfterRestart,  // something was in use: the next restart finishes the removal
};

// `runningProgram` is the uninstaller's own file: when it has to go, it goes at the restart
// without that making the removal incomplete.
RemovalEnd CarryOut(engine::SetupSession& s, RemovalServices& services, const RemovalPlan& plan,
                    const UninstallTexts& texts, UninstallHost& host,
                    const std::string& runningProgram);

// Whether any product of this system is still registered (a key below the product key).
bool OtherProductsRegistered(engine::SetupSession& s);

}  // namespace tarn::uninstall
