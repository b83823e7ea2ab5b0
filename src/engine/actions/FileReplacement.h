#pragma once
// Files are never rewritten in place. A new version is written under a staged name beside its
// target and renamed over it in one call once it is whole; the earlier version of a file it
// replaces is kept under a second name first, so that an abandoned installation can put it
// back. Every step is in the run's journal before it is taken. Both names carry the run stamp:
//   "<target>.~TarnInstall<stamp>.new"   the new version while it is written (removed on failure)
//   "<target>.~TarnInstall<stamp>.old"   the earlier version, hidden, until the run is over

#include <string>

#include "engine/session/SetupSession.h"

namespace tarn::engine {

std::string StagedName(const SetupSession& session, const std::string& target);
std::string KeptName(const SetupSession& session, const std::string& target);

enum class TargetState { Missing, Replaceable, Locked };

// Whether `target` may be replaced: it does not exist, or it can be opened for writing (not in
// use, not read-only, not denied).
TargetState StateOf(SetupSession& session, const std::string& target);

// Moves `staged` into the place of `target`. A file already there is kept under its kept name
// and noted in the session's kept copies, unless this run wrote it (then it simply goes).
// On failure the target is as it was and the staged file is gone.
bool PutInPlace(SetupSession& session, const std::string& staged, const std::string& target);
// The same when the caller has just looked whether the target is there: a look costs as much as
// the rename itself on a large folder.
bool PutInPlace(SetupSession& session, const std::string& staged, const std::string& target,
                bool targetExists);

// The installation is over for good: kept copies are no longer needed.
void DiscardKeptCopies(SetupSession& session);

// Puts the earlier version of `target` back, if there is one; true when it did.
bool RestoreKeptCopy(SetupSession& session, const std::string& target);

}  // namespace tarn::engine
