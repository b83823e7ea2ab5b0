#include <windows.h>

#include "app/SetupApp.h"
#include "ui/SystemLibrary.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  tarn::ui::RestrictDllSearchToSystem();
  tarn::app::CSetupApp app(commandLine ? commandLine : "");
  app.InitInstance();
  return app.ExitCode();
}
