#include "app/SetupApp.h"

#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include "app/LoadingDlg.h"
#include "engine/Cleanup.h"
#include "engine/Programs.h"
#include "engine/StartupDefaults.h"
#include "ui/SystemLibrary.h"
#include "wizard/InsertMediaDlg.h"
#include "wizard/ShowAdPicture.h"
#include "wizard/WizardFrame.h"

namespace tarn::app {

namespace {

class OleScope {
 public:
  OleScope() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleScope() {
    if (ok_) OleUninitialize();
  }
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;

 private:
  bool ok_;
};

}  // namespace

CSetupApp::CSetupApp() : session_(engine::Platform{files_, registry_, system_, shell_}) {}

bool CSetupApp::InitInstance() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS |
                                            ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  // Without it the pages that host ActiveX controls simply show nothing there.
  activeXHost_ = ui::LoadSystemLibrary("atl.dll");
  if (activeXHost_) {
    using AtlAxWinInitFn = BOOL WINAPI();
    if (auto init = ui::LibraryFunction<AtlAxWinInitFn>(activeXHost_.get(), "AtlAxWinInit")) init();
  }

  session_.InstallRunning = true;
  session_.Metrics = engine::PageMetricsForDpi(system_.DisplayLogPixelsY());

  CLoadingDlg loading(session_);
  loading.DoModal(nullptr);
  if (session_.ExtractionOver) {
    // A broken package ends quietly.
    engine::RunCleanup(session_);
    return false;
  }

  if (engine::WantsAdPicture(session_)) {
    wizard::CShowAdPicture picture;
    picture.SetPicture(engine::AdPicturePath(session_));
    picture.DoModal(nullptr);
  }

  engine::ApplyStartupDefaults(session_);

  if (!session_.ProvideForInstall.empty()) {
    const std::uint32_t code = engine::RunAndWait(session_.System, session_.CodePage,
                                                  engine::PreInstallProgramPath(session_), SW_SHOW);
    if (code == 0) {
      engine::RunCleanup(session_);
      return false;
    }
  }

  {
    // The licence and readme pages host an ActiveX control, which needs OLE on this thread.
    const OleScope ole;
    // A volume missing while the worker extracts is asked for from the worker's thread.
    wizard::InsertMediaPrompt volumePrompt(session_.Language, session_.CodePage);
    session_.Reader.SetVolumePrompt(&volumePrompt);
    wizard::CWizardFrame frame(session_);
    frame.DoModal(nullptr);
    // The frame has waited for the worker, so nothing extracts any more.
    session_.Reader.SetVolumePrompt(nullptr);
  }

  engine::RunCleanup(session_);
  return false;
}

}  // namespace tarn::app
