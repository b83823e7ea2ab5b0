#pragma once
// The application object: all of setup runs inside InitInstance, one step after another on the
// user-interface thread; there is no message loop of its own afterwards.

#include <windows.h>

#include <string>

#include "engine/session/SetupSession.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemFacts.h"
#include "startup/SetupCommandLine.h"
#include "ui/SystemLibrary.h"

namespace tarn::app {

class CSetupApp {
 public:
  // `commandLine`: what follows the program's name.
  explicit CSetupApp(std::string commandLine);
  // Always false: the process ends once start-up has run.
  bool InitInstance();
  // 0 installed, 1 not installed, 2 a command line that could not be used.
  int ExitCode() const { return usageError_ ? 2 : engine::ExitStatus(session_); }

 private:
  // Opens the log the command line asks for; false, after telling whoever is there, when the
  // command line cannot be used.
  bool StartLog(const startup::ParsedCommandLine& parsed);
  // The package, with or without the loading dialog; false for a broken package.
  bool Load(bool silent);
  void RunWizard();
  // The clean-up every run ends with, and the log's last line.
  bool End();

  std::string commandLine_;
  bool usageError_ = false;
  platform::Win32FileSystem files_;
  platform::Win32Registry registry_;
  platform::Win32SystemFacts system_;
  platform::Win32Clock clock_;
  platform::Win32Shell shell_;
  engine::SetupSession session_;

  // The system's ActiveX host window class (the licence and readme pages show the web browser
  // control in it) lives in atl.dll, which stays loaded for the whole run.
  ui::Library activeXHost_;
};

}  // namespace tarn::app
