#include "app/SetupApp.h"

#include <windows.h>

#include <commctrl.h>

#include "app/LoadingDlg.h"
#include "engine/Cleanup.h"
#include "engine/Programs.h"
#include "engine/StartupDefaults.h"
#include "wizard/ShowAdPicture.h"

namespace tarn::app {

CSetupApp::CSetupApp() : session_(engine::Platform{files_, registry_, system_, shell_}) {}

bool CSetupApp::InitInstance() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS |
                                            ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  // Without it the pages that host ActiveX controls simply show nothing there.
  activeXHost_.reset(LoadLibraryA("atl.dll"));
  if (activeXHost_) {
    using AtlAxWinInitFn = BOOL(WINAPI*)();
    if (auto init = reinterpret_cast<AtlAxWinInitFn>(
            reinterpret_cast<void*>(GetProcAddress(activeXHost_.get(), "AtlAxWinInit"))))
      init();
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

  // The wizard joins here.

  engine::RunCleanup(session_);
  return false;
}

}  // namespace tarn::app
