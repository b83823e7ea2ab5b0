#pragma once
// The application object: all of setup runs inside InitInstance, one step after another on the
// user-interface thread; there is no message loop of its own afterwards.

#include <windows.h>

#include "engine/SetupSession.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemFacts.h"
#include "ui/SystemLibrary.h"

namespace tarn::app {

class CSetupApp {
 public:
  CSetupApp();
  // Always false: the process ends once start-up has run.
  bool InitInstance();
  int ExitCode() const { return engine::ExitStatus(session_); }

 private:
  platform::Win32FileSystem files_;
  platform::Win32Registry registry_;
  platform::Win32SystemFacts system_;
  platform::Win32Shell shell_;
  engine::SetupSession session_;

  // The system's ActiveX host window class (the licence and readme pages show the web browser
  // control in it) lives in atl.dll, which stays loaded for the whole run.
  ui::Library activeXHost_;
};

}  // namespace tarn::app
