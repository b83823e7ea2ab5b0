#include "app/SetupApp.h"

#include <windows.h>

#include <commctrl.h>

namespace tarn::app {

namespace {

// Vertical density of the display, from an information context on the display device.
int DisplayLogPixelsY() {
  struct InfoContext {
    HDC dc = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    ~InfoContext() {
      if (dc) DeleteDC(dc);
    }
  } ic;
  return ic.dc ? GetDeviceCaps(ic.dc, LOGPIXELSY) : 96;
}

}  // namespace

bool CSetupApp::InitInstance() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS |
                                            ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);

  session_.InstallRunning = true;
  session_.Metrics = engine::PageMetricsForDpi(DisplayLogPixelsY());

  // Loading, the defaults and the wizard join here as they are built.
  return false;
}

}  // namespace tarn::app
