#pragma once
// A machine for install tests: its folders in a scratch folder (Windows, system, desktop, Start
// menu, temp, the setup folder and "App" as the installation folder), fakes for the registry,
// the system facts, the clock and the shell, a scripted host, and a file layer that can fail
// on purpose.
// A package is built from streams and project text and installed as start-up and the wizard
// would: loaded, defaults applied, then the worker on the calling thread.

#include <string>
#include <vector>

#include "engine/session/SetupSession.h"
#include "support/FakeMachine.h"
#include "support/FaultyFileSystem.h"
#include "support/ScriptedInstallHost.h"
#include "support/TestPackage.h"

namespace tarn::test {

// The language file of the scene: short texts for every status and question.
extern const std::string kSceneLanguage;

// Project text pieces: a subtask block (its ID is read by nobody), a data-setting task, File
// lines, and the fields of a string-writing registry operation under HKCU\Software\Demo.
std::string Sub(const std::string& inner, const std::string& type = "GetValue");
std::string Task(const std::string& id, const std::string& subTasks);
std::string Files(const std::vector<std::string>& files);
std::string Registry(const std::string& name, const std::string& value);

class InstallScene : public FakeMachine {
 public:
  InstallScene();

  // Loads and installs; the worker's result, or 99 when the package did not load.
  int Install(std::vector<PackageStream> streams, const std::string& fileQty = "",
              const std::string& tasks = "");
  // Builds and loads the package (the language file comes first, the program group is "Demo
  // Programs" unless `tasks` has a task 2404); false when loading fails.
  bool Load(std::vector<PackageStream> streams, const std::string& fileQty = "",
            const std::string& tasks = "");

  // A file's content, or "<missing>".
  std::string Read(const std::string& relative);
  // The paths of the shell calls of one kind.
  std::vector<std::string> ShellCalls(const std::string& what);

  // File list lines added as they are, after the packaged streams.
  std::string extraFileLines;
  FaultyFileSystem files{dir.Files()};
  ScriptedInstallHost host;
  engine::SetupSession session{Services(files)};
};

}  // namespace tarn::test
