#pragma once
// Where the journal of an installation run lives, and its beginning and end. The journal is in
// a folder of this system for the whole machine, and the product key's "InProgress" value
// names it, so that the next setup program or uninstaller finds a run that was killed.

#include <string>

#include "engine/session/SetupSession.h"

namespace tarn::engine {

constexpr const char* kInProgressValue = "InProgress";
constexpr const char* kJournalExtension = ".journal";

// "<Common AppData>\TarnInstall", or the same below the Windows folder on a system that names
// no shared application data folder.
std::string JournalFolder(SetupSession& s);

// Creates the run's journal and names it in the registry, before the run touches any folder or
// file. Without a journal the run goes on as before.
void BeginJournal(SetupSession& s);
// The installation completed: what is left to do after a crash is only to discard kept copies.
void MarkJournalDone(SetupSession& s);
// The run is over (completed, or rolled back): the journal and its registry value go.
void EndJournal(SetupSession& s);

}  // namespace tarn::engine
