#include <windows.h>

#include "app/SetupApp.h"
#include "ui/SystemLibrary.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  tarn::ui::RestrictDllSearchToSystem();
  tarn::app::CSetupApp app;
  if (!app.InitInstance()) return app.ExitCode();
  return app.ExitCode();
}
