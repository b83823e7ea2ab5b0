#pragma once
// The progress page. Entering it the first time starts the install worker; the page is the
// worker's host: status line and progress bar, questions owned by the frame, and the end of
// the run handed back to the frame as a timer.

#include <memory>

#include "engine/InstallWorker.h"
#include "engine/session/InstallHost.h"
#include "wizard/WizardPage.h"

namespace tarn::wizard {

// Posted to the frame with a timer ID: the frame starts that timer on its own thread, since a
// window's timers belong to the thread that owns it.
constexpr UINT kStartTimerMessage = WM_APP + 1;
// The frame's timers: the installation completed (like Next), and closing the wizard.
constexpr UINT_PTR kCompletedTimer = 2;
constexpr UINT_PTR kCloseTimer = 8;

class CInstallProcess : public CWizardPage, public engine::InstallHost {
 public:
  explicit CInstallProcess(engine::SetupSession& session);
  ~CInstallProcess() override;

  void Show() override;
  // Once the installation runs there is no way back, and it goes on by itself.
  bool CanGoNext() const override { return false; }
  bool CanGoBack() const override { return false; }
  // Waits for the worker, if one was started. Must happen before the page goes.
  void JoinWorker();

  // The host, called on the worker's thread.
  void ShowStatus(const std::string& text) override;
  void ShowProgress(std::int32_t percent) override;
  bool AskToAbort(const std::string& text, const std::string& caption) override;
  bool AskAfterWriteError(const std::string& text, const std::string& caption) override;
  void Finished(engine::InstallEnd end) override;

 protected:
  bool OnInitDialog() override;

 private:
  bool workerPending_ = true;
  std::unique_ptr<engine::InstallWorkerThread> worker_;
};

}  // namespace tarn::wizard
