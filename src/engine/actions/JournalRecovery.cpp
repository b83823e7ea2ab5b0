#include "engine/actions/JournalRecovery.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "engine/actions/ProductKey.h"
#include "engine/actions/RegistryKey.h"
#include "engine/actions/RunJournal.h"
#include "engine/actions/SharedFolders.h"
#include "engine/journal/JournalRecord.h"
#include "text/ByteText.h"

namespace tarn::engine {

namespace {

using Outcome = RecoveryReport::Outcome;

// The longest journal read; a run of 16,000 files writes about 2 MB.
constexpr std::uint64_t kMaxJournalSize = UINT64_C(64) << 20;
constexpr std::size_t kMaxPathLength = 499;

// "X:\..." without relative steps, streams or wildcards: something an installation could name.
bool IsSoundPath(const std::string& path) {
  if (path.size() < 4 || path.size() > kMaxPathLength) return false;
  const char drive = static_cast<char>(path[0] & ~0x20);
  if (drive < 'A' || drive > 'Z' || path[1] != ':' || path[2] != '\\') return false;
  if (path.find_first_of(":*?\"<>|", 2) != std::string::npos) return false;
  const std::string padded = path + "\\";
  return padded.find("\\..\\") == std::string::npos && padded.find("\\.\\") == std::string::npos;
}

struct Replacement {
  std::string kept;
  bool wasHidden = false;
};

// What the journal says the run did, in its order, with every unsound record left out.
struct RunRecord {
  std::uint32_t process = 0;
  std::string stamp;
  bool done = false;
  std::vector<std::string> folders;
  std::vector<std::string> staged;
  // Targets in the order they were placed; a target appears once.
  std::vector<std::string> targets;
  std::set<std::string> newTargets;
  std::map<std::string, Replacement> replaced;
};

std::string Suffix(const RunRecord& run, const char* what) {
  return ".~TarnInstall" + run.stamp + what;
}

bool ReadRun(const JournalContents& contents, RunRecord& run) {
  if (contents.records.empty() || contents.records[0].kind != JournalKind::Begin) return false;
  const auto& begin = contents.records[0].fields;
  run.process = static_cast<std::uint32_t>(text::ParseDecimal64(begin[0]));
  run.stamp = begin[1];
  if (run.stamp.empty() || run.stamp.find_first_not_of("0123456789") != std::string::npos)
    return false;
  std::set<std::string> staged;
  for (std::size_t i = 1; i < contents.records.size(); ++i) {
    const JournalRecord& r = contents.records[i];
    const std::string& path = r.fields.empty() ? std::string() : r.fields[0];
    if (r.kind == JournalKind::Done) {
      run.done = true;
      continue;
    }
    if (!IsSoundPath(path)) continue;
    switch (r.kind) {
      case JournalKind::Folder:
        run.folders.push_back(path);
        break;
      case JournalKind::Staged: {
        const std::string suffix = Suffix(run, ".new");
        if (path.size() > suffix.size() &&
            path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0 &&
            staged.insert(path).second)
          run.staged.push_back(path);
        break;
      }
      case JournalKind::New:
      case JournalKind::Replaced: {
        // A target is placed only after its new version was staged beside it.
        if (staged.count(path + Suffix(run, ".new")) == 0) break;
        if (run.newTargets.count(path) != 0 || run.replaced.count(path) != 0) break;
        if (r.kind == JournalKind::New) {
          run.newTargets.insert(path);
        } else {
          if (r.fields[1] != path + Suffix(run, ".old")) break;
          run.replaced[path] = {r.fields[1], r.fields[2] == "1"};
        }
        run.targets.push_back(path);
        break;
      }
      default:
        break;
    }
  }
  return true;
}

bool RemoveIfThere(platform::FileSystem& files, const std::string& path) {
  return files.Exists(path) && files.RemoveFile(path);
}

void RollBack(SetupSession& s, const RunRecord& run, RecoveryReport& report) {
  platform::FileSystem& files = s.System.files;
  const SharedFolders shared = SharedFolders::ForRollBack(s);
  for (auto it = run.targets.rbegin(); it != run.targets.rend(); ++it) {
    const std::string& target = *it;
    const auto replaced = run.replaced.find(target);
    if (shared.Contain(target)) {
      if (replaced != run.replaced.end() && RemoveIfThere(files, replaced->second.kept))
        ++report.removed;
      s.Log.Line("Recovery: new version left in the shared folder: " + text::Quoted(target));
    } else if (replaced != run.replaced.end()) {
      // Without its kept copy the target was never touched: it still is the earlier version.
      const Replacement& r = replaced->second;
      if (!files.Exists(r.kept)) continue;
      if (files.RenameOver(r.kept, target)) {
        // Both may be names of one file, if the run stopped before the new version came.
        RemoveIfThere(files, r.kept);
        files.SetHidden(target, r.wasHidden);
        ++report.restored;
        s.Log.Line("Recovery: earlier version restored: " + text::Quoted(target));
      }
    } else if (RemoveIfThere(files, target)) {
      ++report.removed;
      s.Log.Line("Recovery: file removed: " + text::Quoted(target));
    }
  }
  for (const auto& path : run.staged) {
    if (RemoveIfThere(files, path)) ++report.removed;
  }
  // Deepest first, so that a parent is empty once its children are gone.
  std::vector<std::string> folders = run.folders;
  std::stable_sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) {
    return std::count(a.begin(), a.end(), '\\') > std::count(b.begin(), b.end(), '\\');
  });
  files.ChangeCurrentDirectory("C:\\");
  for (const auto& folder : folders) {
    if (files.IsDirectory(folder) && files.RemoveEmptyDirectory(folder)) {
      ++report.folders;
      s.Log.Line("Recovery: folder removed: " + text::Quoted(folder));
    }
  }
}

// The installation had completed: the new versions stay, only their kept copies go.
void FinishCompleted(SetupSession& s, const RunRecord& run, RecoveryReport& report) {
  for (const auto& [target, replacement] : run.replaced) {
    if (RemoveIfThere(s.System.files, replacement.kept)) ++report.removed;
  }
  for (const auto& path : run.staged) {
    if (RemoveIfThere(s.System.files, path)) ++report.removed;
  }
}

bool InJournalFolder(SetupSession& s, const std::string& path) {
  const std::string folder = text::AsciiUpper(JournalFolder(s) + "\\");
  const std::string upper = text::AsciiUpper(path);
  const std::string extension = text::AsciiUpper(kJournalExtension);
  return IsSoundPath(path) && upper.compare(0, folder.size(), folder) == 0 &&
         upper.find('\\', folder.size()) == std::string::npos && upper.size() > extension.size() &&
         upper.compare(upper.size() - extension.size(), extension.size(), extension) == 0;
}

void ForgetJournal(SetupSession& s, const std::string& path, bool deleteFile) {
  if (deleteFile) {
    s.System.files.RemoveFile(path);
    s.System.files.RemoveEmptyDirectory(JournalFolder(s));
  }
  RegistryKey key(s.System.registry, s.CodePage);
  key.DeleteValue(std::string(kProductKey) + "\\" + kInProgressValue);
}

}  // namespace

RecoveryReport RecoverInterruptedInstallation(SetupSession& s) {
  RecoveryReport report;
  RegistryKey key(s.System.registry, s.CodePage);
  if (!key.OpenPath(kProductKey, false)) return report;
  report.journal = key.QueryString(kInProgressValue);
  key.Close();
  if (report.journal.empty()) return report;

  if (!InJournalFolder(s, report.journal)) {
    s.Log.Line(
        "Recovery: the interrupted installation's journal is not where this system keeps "
        "journals, ignored: " +
        text::Quoted(report.journal));
    ForgetJournal(s, report.journal, false);
    return report;
  }
  const auto text = platform::ReadWholeFile(s.System.files, report.journal, kMaxJournalSize);
  const JournalContents contents = text ? ParseJournal(*text) : JournalContents{};
  report.damaged = contents.damaged;
  RunRecord run;
  if (!ReadRun(contents, run)) {
    s.Log.Line("Recovery: the journal " + text::Quoted(report.journal) +
               " holds nothing to undo; it is removed");
    ForgetJournal(s, report.journal, text.has_value());
    return report;
  }
  if (run.process != s.System.shell.CurrentProcessId() &&
      s.System.shell.IsProcessRunning(run.process)) {
    report.outcome = Outcome::StillRunning;
    s.Log.Line("Recovery: the installation of journal " + text::Quoted(report.journal) +
               " still runs (process " + std::to_string(run.process) + ")");
    return report;
  }

  s.Log.Line("Recovery: an interrupted installation is undone from its journal " +
             text::Quoted(report.journal) + (contents.damaged ? " (cut off at its end)" : ""));
  if (run.done) {
    FinishCompleted(s, run, report);
    report.outcome = Outcome::Completed;
  } else {
    RollBack(s, run, report);
    report.outcome = Outcome::RolledBack;
  }
  ForgetJournal(s, report.journal, true);
  s.Log.Line("Recovery: " + std::to_string(report.restored) + " earlier versions restored, " +
             std::to_string(report.removed) + " files and " + std::to_string(report.folders) +
             " folders removed");
  return report;
}

}  // namespace tarn::engine
