#pragma once
// The application object: all of setup runs inside InitInstance, one step after another on the
// user-interface thread; there is no message loop of its own afterwards.

#include "engine/SetupSession.h"

namespace tarn::app {

class CSetupApp {
 public:
  // Always false: the process ends once start-up has run.
  bool InitInstance();
  int ExitCode() const { return engine::ExitStatus(session_); }

 private:
  engine::SetupSession session_;
};

}  // namespace tarn::app
