#include "engine/InstallWorker.h"

#include <functional>
#include <vector>

#include "engine/actions/FileReplacement.h"
#include "engine/actions/RegistryKey.h"
#include "engine/actions/RunJournal.h"
#include "engine/session/LoggingHost.h"
#include "engine/stages/ComponentStage.h"
#include "engine/stages/FileStage.h"
#include "engine/stages/FolderStage.h"
#include "engine/stages/FontStage.h"
#include "engine/stages/InstallRun.h"
#include "engine/stages/LeftoversStage.h"
#include "engine/stages/RegistryStage.h"
#include "engine/stages/ShortcutStage.h"
#include "engine/stages/UninstallStage.h"
#include "project/TaskIds.h"
#include "text/ByteText.h"

namespace tarn::engine {

namespace {

using project::FieldName;
using project::SubTaskType;

// The stages in their order, each behind a gate; false once the run is abandoned.
bool RunStages(InstallRun& run) {
  SetupSession& s = run.Session();
  run.Status(project::LanguageKey::InstallProcessDesc2);

  // Loading read only the installer's own files of the list; now every entry is needed.
  s.Project.RebuildExtractionTask();
  std::vector<std::string> folders;
  std::vector<std::string> files;
  s.Project.GetFieldValues(project::task::Extraction, SubTaskType::FolderList, FieldName::Folder,
                           folders);
  s.Project.GetFieldValues(project::task::Extraction, SubTaskType::FileList, FieldName::File,
                           files);
  RegistryKey holder(s.System.registry, s.CodePage);

  const std::function<void()> stages[] = {
      [&] { RunFolderStage(run, std::move(folders)); },
      [&] { RunFileStage(run, files); },
      [&] { RunFontStage(run); },
      [&] { RunRegistryStage(run, holder); },
      [&] { RunComponentStage(run); },
      [&] { RunLeftoversStage(run); },
      [&] { RunShortcutStage(run); },
      [&] { RunUninstallStage(run); },
  };
  for (const auto& stage : stages) {
    if (!run.StageGate()) return false;
    stage();
  }
  return run.Running();
}

}  // namespace

int RunInstallWorker(SetupSession& session, InstallHost& userInterface) {
  LoggingInstallHost host(userInterface, session.Log);
  session.Log.Line("Installation starts: folder " + text::Quoted(session.InstallDir) +
                   ", program folder " + text::Quoted(session.ProgramFolderPath));
  InstallRun run(session, host);
  session.InstallRunning = true;
  BeginJournal(session);
  if (RunStages(run)) {
    // Nothing will be rolled back now: the earlier versions are not needed any more.
    MarkJournalDone(session);
    DiscardKeptCopies(session);
    EndJournal(session);
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
  thread_.Join();
  return result_;
}

std::unique_ptr<InstallWorkerThread> StartInstallWorker(SetupSession& session, InstallHost& host) {
  session.CancelRequested = false;
  return std::make_unique<InstallWorkerThread>(session, host);
}

}  // namespace tarn::engine
