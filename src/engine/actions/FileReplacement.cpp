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

bool Replaceable(SetupSession& s, const std::string& target) {
  platform::FileSystem& files = s.System.files;
  return !files.Exists(target) || files.Open(target, platform::OpenMode::Update) != nullptr;
}

bool PutInPlace(SetupSession& s, const std::string& staged, const std::string& target) {
  platform::FileSystem& files = s.System.files;
  std::string moved;
  if (files.Exists(target)) {
    if (s.KeptCopies.count(target) != 0 || s.WrittenFiles.count(target) != 0) {
      // Written earlier in this run: the kept copy, if any, already holds the user's version.
      if (!files.RemoveFile(target)) {
        files.RemoveFile(staged);
        return false;
      }
    } else {
      moved = KeptName(s, target);
      if (!files.RenameFile(target, moved)) {
        files.RemoveFile(staged);
        return false;
      }
    }
  }
  if (!files.RenameFile(staged, target)) {
    if (!moved.empty()) files.RenameFile(moved, target);
    files.RemoveFile(staged);
    return false;
  }
  if (!moved.empty()) {
    const bool wasHidden = files.SetHidden(moved, true).value_or(false);
    s.KeptCopies[target] = KeptCopy{moved, wasHidden};
  }
  s.WrittenFiles.insert(target);
  return true;
}

bool ReplaceWith(SetupSession& s, const std::string& staged, const std::string& target) {
  platform::FileSystem& files = s.System.files;
  const std::string moved = KeptName(s, target);
  const bool existed = files.Exists(target);
  if (existed && !files.RenameFile(target, moved)) {
    files.RemoveFile(staged);
    return false;
  }
  if (!files.RenameFile(staged, target)) {
    if (existed) files.RenameFile(moved, target);
    files.RemoveFile(staged);
    return false;
  }
  if (existed) files.RemoveFile(moved);
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
  // The new version must go first: names cannot be renamed over.
  files.RemoveFile(target);
  if (!files.RenameFile(kept.path, target)) return false;
  files.SetHidden(target, kept.wasHidden);
  s.KeptCopies.erase(found);
  return true;
}

}  // namespace tarn::engine
