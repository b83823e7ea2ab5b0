#include "engine/InstallWorker.h"

#include <vector>

#include "engine/ComponentStage.h"
#include "engine/FileReplacement.h"
#include "engine/FileStage.h"
#include "engine/FolderStage.h"
#include "engine/FontStage.h"
#include "engine/InstallRun.h"
#include "engine/LeftoversStage.h"
#include "engine/LoggingHost.h"
#include "engine/RegistryKey.h"
#include "engine/RegistryStage.h"
#include "engine/Shortcuts.h"
#include "engine/UninstallRegistration.h"
#include "project/TaskIds.h"
#include "text/ByteText.h"

namespace tarn::engine {

namespace {

using project::FieldName;
using project::SubTaskType;

// The stages after the files, each followed by a gate; false once the run is abandoned.
bool RunStages(InstallRun& run) {
  SetupSession& s = run.Session();
  run.Status(project::LanguageKey::InstallProcessDesc2);
  s.System.system.Pause(kStageGatePauseMs);

  // Loading read only the installer's own files of the list; now every entry is needed.
  s.Project.RebuildExtractionTask();
  std::vector<std::string> folders;
  std::vector<std::string> files;
  s.Project.GetFieldValues(project::task::Extraction, SubTaskType::FolderList, FieldName::Folder,
                           folders);
  s.Project.GetFieldValues(project::task::Extraction, SubTaskType::FileList, FieldName::File,
                           files);

  RunFolderStage(run, std::move(folders));
  if (!run.StageGate()) return false;
  RunFileStage(run, files);
  if (!run.StageGate()) return false;
  RunFontStage(run);
  if (!run.StageGate()) return false;
  RegistryKey holder(s.System.registry, s.CodePage);
  RunRegistryStage(run, holder);
  if (!run.StageGate()) return false;
  holder.SetRootByName("HKEY_LOCAL_MACHINE");
  RunComponentStage(run);
  if (!run.StageGate()) return false;
  RunLeftoversStage(run);
  if (!run.StageGate()) return false;
  RunShortcutStage(run);
  if (!run.StageGate()) return false;
  RegisterUninstall(run);
  return run.Running();
}

}  // namespace

int RunInstallWorker(SetupSession& session, InstallHost& userInterface) {
  LoggingInstallHost host(userInterface, session.Log);
  session.Log.Line("Installation starts: folder " + text::Quoted(session.InstallDir) +
                   ", program folder " + text::Quoted(session.ProgramFolderPath));
  InstallRun run(session, host);
  session.InstallRunning = true;
  if (RunStages(run)) {
    // Nothing will be rolled back now: the earlier versions are not needed any more.
    DiscardKeptCopies(session);
    session.ExtractionOver = true;
    session.InstallCompleted = true;
    host.Finished(InstallEnd::Completed);
    return 0;
  }
  host.Finished(InstallEnd::Abandoned);
  return -1;
}

InstallWorkerThread::InstallWorkerThread(SetupSession& session, InstallHost& host)
    : thread_([this, &session, &host] {
        // The insert-media dialog and the shortcuts need COM on this thread.
        const auto scope = session.System.shell.EnterThread();
        result_ = RunInstallWorker(session, host);
      }) {}

InstallWorkerThread::~InstallWorkerThread() { Join(); }

int InstallWorkerThread::Join() {
  if (thread_.joinable()) thread_.join();
  return result_;
}

std::unique_ptr<InstallWorkerThread> StartInstallWorker(SetupSession& session, InstallHost& host) {
  session.CancelRequested = false;
  return std::make_unique<InstallWorkerThread>(session, host);
}

}  // namespace tarn::engine
