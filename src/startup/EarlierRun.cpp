#include "startup/EarlierRun.h"

#include "engine/actions/JournalRecovery.h"

namespace tarn::startup {

using engine::RecoveryReport;

bool RecoverEarlierRun(engine::SetupSession& s, bool silent) {
  const RecoveryReport report = engine::RecoverInterruptedInstallation(s);
  const bool repaired = report.outcome == RecoveryReport::Outcome::RolledBack ||
                        report.outcome == RecoveryReport::Outcome::Completed;
  // The package's texts are not loaded yet: the notice is in English.
  if (repaired && !silent && report.outcome == RecoveryReport::Outcome::RolledBack) {
    s.System.shell.ShowMessage(
        "An earlier installation was interrupted before it could finish. The changes it had "
        "made to files and folders have been undone.",
        "Setup");
  }
  return repaired;
}

}  // namespace tarn::startup
