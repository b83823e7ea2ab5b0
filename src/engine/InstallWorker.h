#pragma once
// The install worker: the stages of an installation in their order, run once on a thread of its
// own while the progress page is shown. It reaches the user interface only through its host.

#include <memory>

#include "engine/session/InstallHost.h"
#include "engine/session/SetupSession.h"
#include "platform/Threads.h"

namespace tarn::engine {

// Runs every stage on the calling thread and tells the host how the run ended: 0 when it
// completed, -1 when it was abandoned.
int RunInstallWorker(SetupSession& session, InstallHost& host);

// The worker's thread. Destroying the object waits for the run to end, so it must not happen
// on a thread the host is waiting for; the host's Finished call is the run's last word.
class InstallWorkerThread {
 public:
  InstallWorkerThread(SetupSession& session, InstallHost& host);
  ~InstallWorkerThread();
  InstallWorkerThread(const InstallWorkerThread&) = delete;
  InstallWorkerThread& operator=(const InstallWorkerThread&) = delete;

  // Waits for the run to end; the result of RunInstallWorker.
  int Join();

 private:
  // Before the thread, which may write it as soon as it starts.
  int result_ = -1;
  platform::Thread thread_;
};

// Clears the cancel request and starts the worker.
std::unique_ptr<InstallWorkerThread> StartInstallWorker(SetupSession& session, InstallHost& host);

}  // namespace tarn::engine
