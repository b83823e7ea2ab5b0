#include <windows.h>

#include "app/SetupApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  tarn::app::CSetupApp app;
  if (!app.InitInstance()) return app.ExitCode();
  return app.ExitCode();
}
