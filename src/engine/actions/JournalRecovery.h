#pragma once
// The next run's repair of an installation that was killed: the journal the "InProgress" value
// names is played backwards. Earlier versions are put back (content, time stamps, attributes),
// new files and staged leftovers deleted, created folders removed when empty, deepest first;
// files under the Windows and the shared database-engine folders keep their new version, as in
// the roll-back of a live run. A journal whose process still runs is left alone.
//
// The journal is not trusted further than an installation of this system could have written
// it: records after a damaged line are ignored, and a path is acted on only when it is an
// absolute local path, the staged and kept names follow the run's naming, and a target was
// staged before it was placed.

#include <cstdint>
#include <string>

#include "engine/session/SetupSession.h"

namespace tarn::engine {

struct RecoveryReport {
  enum class Outcome { Nothing, StillRunning, RolledBack, Completed };
  Outcome outcome = Outcome::Nothing;
  std::string journal;
  std::int32_t restored = 0;  // earlier versions put back
  std::int32_t removed = 0;   // new files and leftovers deleted
  std::int32_t folders = 0;   // created folders removed
  bool damaged = false;       // the journal ended in a damaged or cut-off record
};

RecoveryReport RecoverInterruptedInstallation(SetupSession& s);

}  // namespace tarn::engine
