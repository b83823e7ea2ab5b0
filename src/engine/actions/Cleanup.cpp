#include "engine/actions/Cleanup.h"

#include <set>

#include "engine/actions/FileReplacement.h"
#include "engine/actions/RunJournal.h"
#include "engine/actions/SharedFolders.h"
#include "text/ByteText.h"

namespace tarn::engine {

namespace {

void ForgetKeptCopy(SetupSession& s, const std::string& target) {
  const auto found = s.KeptCopies.find(target);
  if (found == s.KeptCopies.end()) return;
  s.System.files.RemoveFile(found->second.path);
  s.KeptCopies.erase(found);
}

void RollBackFiles(SetupSession& s) {
  // Files there may already be in use by other programs: the new version stays.
  const SharedFolders shared = SharedFolders::ForRollBack(s);
  std::set<std::string> done;
  for (const auto& path : s.Project.InstalledFileList) {
    if (!done.insert(path).second) continue;
    // A file the run could not write is still the user's own.
    const bool untouched = s.UnwrittenFiles.count(path) != 0 && s.WrittenFiles.count(path) == 0;
    if (untouched) continue;
    if (shared.Contain(path)) {
      ForgetKeptCopy(s, path);
      s.Log.Line("Roll-back: new version left in the shared folder: " + text::Quoted(path));
    } else if (RestoreKeptCopy(s, path)) {
      s.Log.Line("Roll-back: earlier version restored: " + text::Quoted(path));
    } else if (s.System.files.RemoveFile(path)) {
      s.Log.Line("Roll-back: file removed: " + text::Quoted(path));
    }
  }
  // Replaced files the list does not name (the uninstaller): the same rules.
  const auto remaining = s.KeptCopies;
  for (const auto& [target, kept] : remaining) {
    if (shared.Contain(target))
      ForgetKeptCopy(s, target);
    else if (RestoreKeptCopy(s, target))
      s.Log.Line("Roll-back: earlier version restored: " + text::Quoted(target));
  }
}

}  // namespace

void RunCleanup(SetupSession& s) {
  platform::FileSystem& files = s.System.files;
  s.ExtractionOver = true;
  for (const auto& path : s.TempFileList) files.RemoveFile(path);
  if (s.InstallRunning) {
    DiscardKeptCopies(s);
    EndJournal(s);
    return;
  }

  s.Log.Line("Rolling back the installation");
  RollBackFiles(s);
  s.System.clock.Pause(100);
  // No created folder may be the current one when it is removed.
  files.ChangeCurrentDirectory("C:\\");
  for (const auto& folder : s.Project.CreatedFolderList) {
    if (files.RemoveEmptyDirectory(folder))
      s.Log.Line("Roll-back: folder removed: " + text::Quoted(folder));
    else if (s.Log.IsOpen() && files.IsDirectory(folder))
      s.Log.Line("Roll-back: folder left, it is not empty: " + text::Quoted(folder));
  }
  EndJournal(s);
}

}  // namespace tarn::engine
