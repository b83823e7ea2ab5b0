#include "engine/stages/InstallRun.h"

namespace tarn::engine {

using project::LanguageKey;

void InstallRun::Status(LanguageKey key) { host_.ShowStatus(session_.Language.GetText(key)); }

bool InstallRun::CancelPoint() {
  if (!session_.CancelRequested) return false;
  const project::LanguageTable& texts = session_.Language;
  if (host_.AskToAbort(texts.GetText(LanguageKey::ExitInstallMessage),
                       texts.GetText(LanguageKey::ExitInstallTitle))) {
    session_.InstallRunning = false;
    return true;
  }
  session_.CancelRequested = false;
  return false;
}

void InstallRun::EntryPause() { session_.System.clock.Pause(kEntryPauseMs); }

bool InstallRun::StageGate() {
  session_.System.clock.Pause(kStageGatePauseMs);
  return session_.InstallRunning;
}

}  // namespace tarn::engine
