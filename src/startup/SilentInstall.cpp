#include "startup/SilentInstall.h"

#include "engine/InstallWorker.h"
#include "engine/actions/Shortcuts.h"
#include "pages/InstallPathCheck.h"
#include "pages/UserInformation.h"
#include "project/TaskIds.h"
#include "text/ByteText.h"

namespace tarn::startup {

using engine::CreateFinishPageShortcuts;
using engine::RunInstallWorker;
using engine::SetupSession;

namespace {

namespace task = project::task;

void AcceptLicence(SetupSession& s) {
  s.LicenceAccepted = true;
  s.Log.Line("Licence accepted by the silent installation's command line");
}

void StoreDefaultUser(SetupSession& s, const project::Task& userInfo) {
  const pages::RegisteredUser user = pages::ReadRegisteredUser(s);
  s.Log.Line("User information: name " + text::Quoted(user.owner) + ", company " +
             text::Quoted(user.organisation));
  pages::StoreUserInformation(s, userInfo, user.owner, user.organisation);
}

// What Finish does on a finish page left as it was shown, minus what needs a person there.
void FinishQuietly(SetupSession& s, const project::Task* finish) {
  if (!finish) return;
  if (finish->Id() == task::FinishPage) {
    s.Log.Line("No restart: the silent installation leaves that to its caller");
    return;
  }
  CreateFinishPageShortcuts(s, [](const project::SubTask&) { return true; });
  s.Log.Line("Programs of the finish page not started (silent installation)");
}

bool Install(SetupSession& s, project::TaskCursor& cursor) {
  if (!pages::AcceptInstallPath(s, s.InstallDir)) return false;
  SilentInstallHost host;
  s.CancelRequested = false;
  {
    // Shortcuts are made through COM, which this thread has not needed so far.
    const auto scope = s.System.shell.EnterThread();
    if (RunInstallWorker(s, host) != 0) return false;
    FinishQuietly(s, cursor.Next());
  }
  return true;
}

}  // namespace

bool RunSilentInstallation(SetupSession& s) {
  project::TaskCursor& cursor = s.Project.Cursor();
  if (cursor.HasExecutableTask()) {
    for (const project::Task* step = cursor.Current(); step; step = cursor.Next()) {
      if (step->Id() == task::LicencePage)
        AcceptLicence(s);
      else if (step->Id() == task::UserInfoPage)
        StoreDefaultUser(s, *step);
      else if (step->Id() == task::ProgressPage)
        return Install(s, cursor);
    }
  }
  s.Log.Line("The project has no installation step: nothing was installed");
  return false;
}

}  // namespace tarn::startup
