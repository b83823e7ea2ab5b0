#include "engine/stages/InstallRun.h"

namespace tarn::engine {

using project::LanguageKey;

InstallRun::InstallRun(SetupSession& session, InstallHost& host)
    : session_(session), host_(host), paced_(host.Watched()) {
  if (paced_) session_.System.clock.RaiseTimerResolution();
}

InstallRun::~InstallRun() {
  if (paced_) session_.System.clock.RestoreTimerResolution();
}

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

void InstallRun::Pause(std::uint32_t milliseconds) {
  platform::Clock& clock = session_.System.clock;
  const std::uint64_t before = clock.ElapsedMicroseconds();
  clock.Pause(milliseconds);
  paused_ += clock.ElapsedMicroseconds() - before;
}

void InstallRun::EntryPause() {
  if (paced_) Pause(kEntryPauseMs);
}

bool InstallRun::StageGate() {
  if (paced_) Pause(kStageGatePauseMs);
  return session_.InstallRunning;
}

}  // namespace tarn::engine
