// Tarn-UnInstall.exe: removes a product installed by this system's setup program.
#include <windows.h>

#include <commctrl.h>

#include "engine/session/PageMetrics.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemFacts.h"
#include "startup/EarlierRun.h"
#include "text/ByteText.h"
#include "ui/SystemLibrary.h"
#include "uninstall/Uninstallation.h"
#include "uninstaller/UninstallWindow.h"
#include "uninstaller/Win32RemovalServices.h"

namespace {

using namespace tarn;

constexpr const char* kUsage =
    "Usage: Tarn-UnInstall.exe [/S] [/LOG=file] record\r\n\r\n"
    "  /S         remove without asking and without a window\r\n"
    "  /LOG=file  write what is removed to the file\r\n"
    "  record     the product's uninstall record (\"TarnUninstall <product>.UCIP\")";

class QuietHost : public uninstall::UninstallHost {
 public:
  void ShowStatus(const std::string&) override {}
  void ShowProgress(std::int32_t) override {}
};

// A line that cannot be read may still have asked for silence.
bool AsksForSilence(const std::string& line) {
  const std::string upper = text::AsciiUpper(line) + " ";
  return upper.find(" /S ") != std::string::npos;
}

int Run() {
  platform::Win32FileSystem files;
  platform::Win32Registry registry;
  platform::Win32SystemFacts system;
  platform::Win32Clock clock;
  platform::Win32Shell shell;
  engine::SetupSession session(engine::Platform{files, registry, system, clock, shell});
  uninstaller::Win32RemovalServices services;
  uninstall::Uninstallation run(session, services);
  run.LoadTexts();

  const std::string line = GetCommandLineA();
  const std::string self = system.ModulePath();
  const auto command = uninstall::ParseUninstallCommandLine(line, self);
  const bool silent = command ? command->silent : AsksForSilence(line);
  const std::string caption = run.Texts().Get("UnInstallWindowTitle");
  if (!command || !run.OpenLog(*command)) {
    if (!silent) {
      const std::string text =
          command ? "The log file \"" + command->logPath + "\" cannot be created.\r\n\r\n" + kUsage
                  : std::string(kUsage);
      MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
    }
    return uninstall::kExitBadCommandLine;
  }
  // An installation killed half-way is undone before anything is removed.
  startup::RecoverEarlierRun(session, silent);
  if (!run.Prepare(command->recordPath)) {
    if (!silent) {
      const std::string text =
          "Nothing was removed: " + run.Refusal() + ".\r\n\r\n" + command->recordPath;
      MessageBoxA(nullptr, text.c_str(), run.Texts().Get("MessageDesc").c_str(),
                  MB_OK | MB_ICONERROR);
    }
    return uninstall::kExitNotRemoved;
  }
  if (silent) {
    QuietHost host;
    return run.Remove(host, self);
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  uninstaller::UninstallWindow window(run, system.DisplayLogPixelsY(), self);
  if (window.RunModal(nullptr) < 0) return uninstall::kExitNotRemoved;
  const int status = window.ExitStatus();
  if (status == uninstall::kExitNotRemoved) session.Log.Line("Nothing removed: closed by the user");
  return status;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  tarn::ui::RestrictDllSearchToSystem();
  return Run();
}
