#include "engine/actions/FileReplacement.h"

#include "text/ByteText.h"

namespace tarn::engine {

namespace {

std::string Stamped(const SetupSession& s, const std::string& target, const char* suffix) {
  return target + ".~TarnInstall" + s.RunStamp + suffix;
}

}  // namespace

std::string StagedName(const SetupSession& s, const std::string& target) {
  return Stamped(s, target, ".new");
}

std::string KeptName(const SetupSession& s, const std::string& target) {
  return Stamped(s, target, ".old");
}

TargetState StateOf(SetupSession& s, const std::string& target) {
  platform::FileSystem& files = s.System.files;
  if (!files.Exists(target)) return TargetState::Missing;
  return files.Open(target, platform::OpenMode::Update) ? TargetState::Replaceable
                                                        : TargetState::Locked;
}

namespace {

// The earlier version under its kept name, while the target still holds it: a second name for
// the same file, or where the volume has none, a copy with its time stamps and attributes.
bool KeepEarlierVersion(platform::FileSystem& files, const std::string& target,
                        const std::string& kept) {
  return files.LinkFile(target, kept) || files.CopyFileTo(target, kept, true);
}

}  // namespace

bool PutInPlace(SetupSession& s, const std::string& staged, const std::string& target) {
  return PutInPlace(s, staged, target, s.System.files.Exists(target));
}

bool PutInPlace(SetupSession& s, const std::string& staged, const std::string& target,
                bool targetExists) {
  platform::FileSystem& files = s.System.files;
  // At no instant is the target missing: the new version is renamed over it in one call.
  if (!targetExists) {
    s.Journal.New(target);
    if (!files.RenameFile(staged, target)) {
      files.RemoveFile(staged);
      return false;
    }
  } else if (s.KeptCopies.count(target) != 0 || s.WrittenFiles.count(target) != 0) {
    // Written earlier in this run: the kept copy, if any, already holds the user's version.
    if (!files.RenameOver(staged, target)) {
      files.RemoveFile(staged);
      return false;
    }
  } else {
    const std::string kept = KeptName(s, target);
    const bool wasHidden = files.IsHidden(target).value_or(false);
    s.Journal.Replaced(target, kept, wasHidden);
    if (!KeepEarlierVersion(files, target, kept)) {
      files.RemoveFile(staged);
      return false;
    }
    if (!files.RenameOver(staged, target)) {
      files.RemoveFile(kept);
      files.RemoveFile(staged);
      return false;
    }
    files.SetHidden(kept, true);
    s.KeptCopies[target] = KeptCopy{kept, wasHidden};
  }
  s.WrittenFiles.insert(target);
  return true;
}

void DiscardKeptCopies(SetupSession& s) {
  // A copy that cannot go now stays listed, for the clean-up at exit to try again.
  for (auto it = s.KeptCopies.begin(); it != s.KeptCopies.end();) {
    if (s.System.files.RemoveFile(it->second.path) || !s.System.files.Exists(it->second.path))
      it = s.KeptCopies.erase(it);
    else
      ++it;
  }
}

bool RestoreKeptCopy(SetupSession& s, const std::string& target) {
  const auto found = s.KeptCopies.find(target);
  if (found == s.KeptCopies.end()) return false;
  platform::FileSystem& files = s.System.files;
  const KeptCopy kept = found->second;
  if (!files.RenameOver(kept.path, target)) return false;
  files.SetHidden(target, kept.wasHidden);
  s.KeptCopies.erase(found);
  return true;
}

}  // namespace tarn::engine
