#include "uninstall/Uninstallation.h"

#include "text/ByteText.h"
#include "uninstall/Removal.h"
#include "uninstall/UninstallRecord.h"

namespace tarn::uninstall {

Uninstallation::Uninstallation(engine::SetupSession& s, RemovalServices& services)
    : s_(s), services_(services) {}

void Uninstallation::LoadTexts() {
  texts_.Load(s_.System.files, s_.Expand("[System Directory]\\TarnInstall"),
              s_.System.system.SystemLocale());
}

bool Uninstallation::OpenLog(const UninstallCommand& command) {
  if (command.logPath.empty()) return true;
  if (!s_.Log.Open(s_.System.files, s_.System.clock, command.logPath, s_.CodePage)) return false;
  s_.Log.Line("Removal starts: record " + text::Quoted(command.recordPath) +
              (command.silent ? ", silent" : ""));
  return true;
}

bool Uninstallation::Prepare(const std::string& recordPath) {
  recordPath_ = recordPath;
  const RecordProblem problem = LoadRecord(s_, recordPath);
  if (problem != RecordProblem::None) {
    refusal_ = DescribeRecordProblem(problem);
  } else {
    title_ = ProductTitle(s_);
    plan_ = PlanRemoval(s_, services_, recordPath);
    if (!plan_.outside.empty())
      refusal_ = "the uninstall record names a path outside the product's folders: " +
                 plan_.outside.front();
  }
  if (!refusal_.empty()) {
    s_.Log.Line("Nothing removed: " + refusal_);
    return false;
  }
  s_.Log.Line("Record accepted: " + text::Quoted(title_) + ", installed in " +
              text::Quoted(s_.InstallDir));
  return true;
}

int Uninstallation::Remove(UninstallHost& host, const std::string& runningProgram) {
  const RemovalEnd end = CarryOut(s_, services_, plan_, texts_, host, runningProgram);
  if (end == RemovalEnd::AfterRestart) {
    s_.Log.Line("Removal complete once the computer restarts");
    return kExitRestartCompletes;
  }
  s_.Log.Line("Removal complete");
  return kExitRemoved;
}

}  // namespace tarn::uninstall
