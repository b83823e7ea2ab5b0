#pragma once
// Before anything else, the setup program repairs an installation of this system that a crash,
// a power cut or a killed process left half done.

#include "engine/session/SetupSession.h"

namespace tarn::startup {

// Undoes the interrupted installation the journal names, if its process is gone. Silently it
// only logs; otherwise one short notice says what happened. True when something was repaired.
bool RecoverEarlierRun(engine::SetupSession& session, bool silent);

}  // namespace tarn::startup
