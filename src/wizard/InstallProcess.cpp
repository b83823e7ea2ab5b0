#include "wizard/InstallProcess.h"

#include <commctrl.h>

#include "res/resource.h"

namespace tarn::wizard {

CInstallProcess::CInstallProcess(engine::SetupSession& session)
    : CWizardPage(IDD_INSTALL_PROCESS, session, project::LanguageKey::InstallProcessSubject,
                  project::LanguageKey::InstallProcessDesc) {}

CInstallProcess::~CInstallProcess() { JoinWorker(); }

bool CInstallProcess::OnInitDialog() {
  CWizardPage::OnInitDialog();
  workerPending_ = true;
  ui::ApplyFont(Hwnd(), normalFont_, {IDC_STATUS});
  SetItemText(IDC_STATUS, Text(project::LanguageKey::InstallProcessDesc2));
  return true;
}

void CInstallProcess::Show() {
  if (workerPending_) {
    workerPending_ = false;
    worker_ = engine::StartInstallWorker(session_, *this);
  }
  CWizardPage::Show();
}

void CInstallProcess::JoinWorker() {
  if (worker_) worker_->Join();
}

void CInstallProcess::ShowStatus(const std::string& text) { SetItemText(IDC_STATUS, text); }

void CInstallProcess::ShowProgress(std::int32_t percent) {
  SendItem(IDC_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(percent));
}

bool CInstallProcess::AskToAbort(const std::string& text, const std::string& caption) {
  return MessageBoxA(Frame(), text.c_str(), caption.c_str(),
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

bool CInstallProcess::AskAfterWriteError(const std::string& text, const std::string& caption) {
  return MessageBoxA(Frame(), text.c_str(), caption.c_str(),
                     MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2) == IDYES;
}

void CInstallProcess::Finished(engine::InstallEnd end) {
  PostMessageA(Frame(), kStartTimerMessage,
               end == engine::InstallEnd::Completed ? kCompletedTimer : kCloseTimer, 0);
}

}  // namespace tarn::wizard
