#include "app/SetupApp.h"

#include <windows.h>

#include <commctrl.h>

#include "app/LoadingDlg.h"
#include "engine/actions/Cleanup.h"
#include "engine/actions/Programs.h"
#include "engine/session/LoggingHost.h"
#include "platform/win32/Win32Toolkit.h"
#include "startup/EarlierRun.h"
#include "startup/PackageLoader.h"
#include "startup/SilentInstall.h"
#include "startup/StartupDefaults.h"
#include "text/ByteText.h"
#include "ui/SystemLibrary.h"
#include "wizard/InsertMediaDlg.h"
#include "wizard/ShowAdPicture.h"
#include "wizard/WizardFrame.h"

namespace tarn::app {

CSetupApp::CSetupApp(std::string commandLine)
    : commandLine_(std::move(commandLine)),
      session_(engine::Platform{files_, registry_, system_, clock_, shell_}) {}

bool CSetupApp::StartLog(const startup::ParsedCommandLine& parsed) {
  const startup::SetupOptions& options = parsed.options;
  std::string error = parsed.error;
  if (options.logPath && !session_.Log.Open(files_, clock_, *options.logPath, session_.CodePage) &&
      error.empty())
    error = "The log file \"" + *options.logPath + "\" cannot be created.";
  if (error.empty()) {
    session_.Log.Line("Setup started: " + text::Quoted(system_.ModulePath()) + " " + commandLine_);
    return true;
  }
  usageError_ = true;
  const std::string usage = startup::SetupUsageText();
  session_.Log.Line("Bad command line: " + error);
  session_.Log.Line(usage);
  session_.Log.Line("Setup ends: nothing installed, exit status 2");
  if (!options.silent)
    MessageBoxA(nullptr, (error + "\r\n\r\n" + usage).c_str(), "Setup", MB_OK | MB_ICONERROR);
  return false;
}

bool CSetupApp::Load(bool silent) {
  if (silent) {
    if (!startup::LoadPackage(session_) || !startup::ExtractInstallerFiles(session_))
      session_.ExtractionOver = true;
  } else {
    CLoadingDlg loading(session_);
    loading.RunModal(nullptr);
  }
  return !session_.ExtractionOver;
}

void CSetupApp::RunWizard() {
  // Without it the pages that host ActiveX controls simply show nothing there.
  activeXHost_ = ui::LoadSystemLibrary("atl.dll");
  if (activeXHost_) {
    using AtlAxWinInitFn = BOOL WINAPI();
    if (auto init = ui::LibraryFunction<AtlAxWinInitFn>(activeXHost_.Get(), "AtlAxWinInit")) init();
  }
  // The licence and readme pages host an ActiveX control, which needs OLE on this thread.
  const platform::OleScope ole;
  // A volume missing while the worker extracts is asked for from the worker's thread.
  wizard::InsertMediaPrompt insertMedia(session_.Language, session_.CodePage,
                                        system_.DisplayLogPixelsY());
  engine::LoggingVolumePrompt volumePrompt(insertMedia, session_.Log);
  session_.Reader.SetVolumePrompt(&volumePrompt);
  wizard::CWizardFrame frame(session_);
  frame.RunModal(nullptr);
  // The frame has waited for the worker, so nothing extracts any more.
  session_.Reader.SetVolumePrompt(nullptr);
}

bool CSetupApp::End() {
  engine::RunCleanup(session_);
  const int status = ExitCode();
  session_.Log.Line(std::string("Setup ends: ") +
                    (status == 0 ? "installation completed" : "nothing installed") +
                    ", exit status " + std::to_string(status));
  return false;
}

bool CSetupApp::InitInstance() {
  const startup::ParsedCommandLine parsed =
      startup::ParseSetupCommandLine(commandLine_, session_.CodePage);
  if (!StartLog(parsed)) return false;
  const bool silent = parsed.options.silent;
  if (silent) session_.LoggedShell.SetSilent();

  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS |
                                            ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  session_.InstallRunning = true;
  session_.Metrics = engine::PageMetricsForDpi(system_.DisplayLogPixelsY());
  startup::RecoverEarlierRun(session_, silent);

  // A broken package ends quietly.
  if (!Load(silent)) return End();

  if (!silent && startup::WantsAdPicture(session_)) {
    wizard::CShowAdPicture picture;
    picture.SetPicture(startup::AdPicturePath(session_));
    picture.SetDensity(system_.DisplayLogPixelsY());
    picture.RunModal(nullptr);
  }

  startup::ApplyStartupDefaults(session_);
  startup::ApplySetupOptions(session_, parsed.options);

  if (!session_.ProvideForInstall.empty()) {
    const std::uint32_t code = engine::RunAndWait(
        session_.System, session_.CodePage, startup::PreInstallProgramPath(session_), SW_SHOW);
    if (code == 0) {
      session_.Log.Line("The pre-install program asked setup to end");
      return End();
    }
  }

  if (silent) {
    startup::SilentVolumePrompt giveUp;
    engine::LoggingVolumePrompt volumePrompt(giveUp, session_.Log);
    session_.Reader.SetVolumePrompt(&volumePrompt);
    startup::RunSilentInstallation(session_);
    session_.Reader.SetVolumePrompt(nullptr);
  } else {
    RunWizard();
  }
  return End();
}

}  // namespace tarn::app
