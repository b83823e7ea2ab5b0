#include "app/LoadingDlg.h"

#include "engine/actions/Cleanup.h"
#include "res/resource.h"
#include "startup/PackageLoader.h"
#include "ui/DenseLayout.h"

namespace tarn::app {

namespace {

constexpr UINT_PTR kLoadTimer = 1;

}  // namespace

CLoadingDlg::CLoadingDlg(engine::SetupSession& session)
    : ModalDialog(IDD_LOADING), session_(session) {}

bool CLoadingDlg::OnInitDialog() {
  ui::FitDialogToDensity(Hwnd(), session_.System.system.DisplayLogPixelsY());
  font_ = ui::CopyDialogFont(Hwnd(), FW_NORMAL);
  ui::ApplyFont(Hwnd(), font_, {IDC_LOADING_TEXT});
  // A dialog procedure never sees its window's creation, so the timer starts here, before the
  // window is first shown.
  session_.ExtractionOver = false;
  SetTimer(Hwnd(), kLoadTimer, 300, nullptr);
  return true;
}

void CLoadingDlg::OnTimer(UINT_PTR id) {
  if (id != kLoadTimer) return;
  KillTimer(Hwnd(), kLoadTimer);
  Load();
}

INT_PTR CLoadingDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, bool& handled) {
  // The language file is not loaded yet, so this one text is fixed.
  if (message == WM_SHOWWINDOW && wParam)
    SetItemText(IDC_LOADING_TEXT, "Initialize TarnInstall Wizard...");
  handled = false;
  return 0;
}

void CLoadingDlg::Load() {
  if (!startup::LoadPackage(session_)) {
    engine::RunCleanup(session_);
    session_.ExtractionOver = true;
    EndDialog(IDOK);
    return;
  }
  SetItemText(IDC_LOADING_TEXT,
              session_.Language.GetText(project::LanguageKey::LoadingInstallFiles));
  if (!startup::ExtractInstallerFiles(session_)) session_.ExtractionOver = true;
  EndDialog(IDOK);
}

}  // namespace tarn::app
