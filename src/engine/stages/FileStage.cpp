#include "engine/stages/FileStage.h"

#include <algorithm>
#include <map>

#include "engine/actions/DecodeAhead.h"
#include "engine/actions/FileReplacement.h"
#include "engine/actions/FolderChain.h"
#include "engine/actions/ProductKey.h"
#include "engine/actions/Programs.h"
#include "engine/actions/RegistryKey.h"
#include "engine/actions/RegistryOperations.h"
#include "engine/actions/SharedFolders.h"
#include "package/PackageAddress.h"
#include "package/PackageEntry.h"
#include "project/TaskIds.h"
#include "text/ByteText.h"

namespace tarn::engine {

namespace {

using package::EntryKind;
using project::FieldName;
using project::LanguageKey;
using project::SubTaskType;

class ProgressCounter {
 public:
  ProgressCounter(InstallHost& host, std::int32_t total) : host_(host), total_(total) {}
  void Count() {
    ++counted_;
    if (const auto percent = ProgressPercent(counted_, total_)) host_.ShowProgress(*percent);
  }

 private:
  InstallHost& host_;
  std::int32_t total_;
  std::int32_t counted_ = 0;
};

// The raw target paths that must not be overwritten, upper-cased, one per line.
std::string KeepList(const SetupSession& s) {
  std::vector<std::string> files;
  s.Project.GetFieldValues(project::task::KeepFiles, SubTaskType::GetValue, FieldName::File, files);
  std::string joined;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (i > 0) joined += "\r\n";
    joined += files[i];
  }
  return text::AsciiUpper(joined);
}

bool NewerUninstallerRegistered(SetupSession& s) {
  RegistryKey key(s.System.registry, s.CodePage);
  if (!key.OpenPath(kProductKey, true)) return false;
  const std::string registered = key.QueryString(kLastVersion);
  return !registered.empty() && text::ParseDecimalFraction(registered) > kUninstallerVersion;
}

// Files of the system folder and the shared database-engine folder are often in use by
// running programs; failing to replace one is no reason to bother the user.
bool AskAboutWriteError(SetupSession& s, const std::string& target) {
  return !SharedFolders::ForWriteErrors(s).Contain(target);
}

// After the uninstaller is written: its texts for the chosen language and the version mark.
void RecordUninstaller(SetupSession& s) {
  const std::string folder = s.Expand("[System Directory]\\TarnInstall");
  CreateFolderChain(s.System.files, folder, s.CodePage);
  s.Language.SaveSection(folder + "\\" + s.Language.LanguageCode() + ".ini", s.System.files);
  RegistryKey key(s.System.registry, s.CodePage);
  if (key.OpenPath(kProductKey, true)) key.SetString(kLastVersion, kUninstallerVersionText);
}

enum class WriteResult { Written, NotReplaceable, NotExtracted, NotPutInPlace };

const char* WhyNotWritten(WriteResult result) {
  switch (result) {
    case WriteResult::NotReplaceable:
      return "the file there is in use or read-only";
    case WriteResult::NotExtracted:
      return "it could not be extracted from the package or written beside its target";
    default:
      return "it could not be moved into place";
  }
}

const char* KindName(EntryKind kind) {
  switch (kind) {
    case EntryKind::Application:
      return "A, application file";
    case EntryKind::RunAndDelete:
      return "L, program run once";
    case EntryKind::Stored:
      return "N, stored application file";
    case EntryKind::RegistryImport:
      return "R, registry file";
    case EntryKind::Uninstaller:
      return "U, uninstaller";
    default:
      return "unknown kind, written as an application file";
  }
}

// A staged file that will not be used; one that cannot go now goes at exit, with the
// installer's temporary files.
void Discard(SetupSession& s, const std::string& staged) {
  if (!s.System.files.RemoveFile(staged) && s.System.files.Exists(staged))
    s.TempFileList.push_back(staged);
}

// Entries decoded ahead of their turn, on other threads, while earlier ones are put in place.
// Only the decoding runs ahead: each staged file is in the journal before a decoder starts it,
// and whether it is used is decided in the entry's own turn, as if it had been decoded then.
class AheadDecoding {
 public:
  AheadDecoding(SetupSession& s, const std::vector<std::optional<package::PackageEntry>>& entries)
      : s_(s),
        entries_(entries),
        decoders_(s.System.files, s.CodePage, s.DecodeThreads,
                  [&s](const std::string& staged) { Discard(s, staged); }),
        window_(s.DecodeThreads == 0 ? 0 : 4 * s.DecodeThreads + 4) {
    // Two entries for one target would share a staged name; those wait for their turns.
    for (const auto& entry : entries)
      if (entry) ++targets_[text::AsciiUpper(entry->ExpandedTarget())];
  }

  // Keeps the entries after `index` queued, as far as the window reaches. The queue is refilled
  // once half of it is taken, so that one flush of the journal covers a batch of staged names.
  void FillAfter(std::size_t index) {
    if (window_ == 0 || s_.ExtractionOver || next_ > index + window_ / 2) return;
    std::vector<std::pair<std::size_t, DecodeJob>> batch;
    std::vector<JournalRecord> staged;
    for (next_ = std::max(next_, index + 1); next_ < entries_.size() && next_ <= index + window_;
         ++next_) {
      if (auto job = JobFor(next_)) {
        staged.push_back({JournalKind::Staged, {job->staged}});
        batch.emplace_back(next_, std::move(*job));
      }
    }
    s_.Journal.Append(staged);
    for (auto& [id, job] : batch) decoders_.Queue(id, std::move(job));
  }

  // For entry `index`: nothing when it waits for its turn, else whether its staged file is whole.
  std::optional<bool> Take(std::size_t index) {
    if (!decoders_.Queued(index)) return std::nullopt;
    return decoders_.Take(index);
  }

 private:
  // A decoder of its own can read the stream now when it lies, from start to end, in the volume
  // the session's reader has open; the others are read in turn, by the reader that asks for
  // volumes.
  std::optional<DecodeJob> JobFor(std::size_t index) const {
    const auto& entry = entries_[index];
    if (!entry || entry->Target().empty() || entry->Kind() == package::EntryKind::Installer)
      return std::nullopt;
    if (targets_.at(text::AsciiUpper(entry->ExpandedTarget())) != 1) return std::nullopt;
    const package::PackageReader& reader = s_.Reader;
    DecodeJob job{reader.VolumePath(),
                  entry->Offset(),
                  entry->CompressedSize(),
                  entry->Kind() == package::EntryKind::Stored,
                  StagedName(s_, entry->ExpandedTarget()),
                  package::EntryFileTime(*entry, s_.System.clock)};
    if (job.volumePath.empty() || job.position < 0 || job.size < 0) return std::nullopt;
    if (reader.Spanning()) {
      const auto at = package::LocateOffset(job.position, reader.Capacity());
      if (!at || at->volume != static_cast<std::int64_t>(reader.Trailer().volumeNumber) ||
          at->position + job.size > reader.Capacity())
        return std::nullopt;
      job.position = at->position;
    }
    return job;
  }

  SetupSession& s_;
  const std::vector<std::optional<package::PackageEntry>>& entries_;
  std::map<std::string, int> targets_;
  DecodeAhead decoders_;
  const std::size_t window_;
  std::size_t next_ = 0;
};

// A file decoded ahead that its turn does not use.
void DropDecoded(SetupSession& s, const package::PackageEntry& entry, std::optional<bool> ahead) {
  if (ahead.value_or(false)) Discard(s, StagedName(s, entry.ExpandedTarget()));
}

// The new version is written beside the target and takes its place only once it is whole.
WriteResult WriteEntry(SetupSession& s, const package::PackageEntry& entry,
                       std::optional<bool> ahead) {
  const std::string& target = entry.ExpandedTarget();
  const TargetState state = StateOf(s, target);
  if (state == TargetState::Locked) {
    DropDecoded(s, entry, ahead);
    return WriteResult::NotReplaceable;
  }
  const std::string staged = StagedName(s, target);
  // A decoder that failed is given a second try in the entry's turn: what it met (a folder an
  // earlier entry's program makes, say) may be different now.
  if (!ahead.value_or(false)) {
    s.Journal.Staged(staged);
    if (!s.Reader.ExtractEntry(staged, entry.Offset(), entry.CompressedSize(),
                               entry.Kind() == EntryKind::Stored,
                               package::EntryFileTime(entry, s.System.clock)))
      return WriteResult::NotExtracted;
  }
  return PutInPlace(s, staged, target, state != TargetState::Missing) ? WriteResult::Written
                                                                      : WriteResult::NotPutInPlace;
}

void LogWrite(SetupSession& s, const package::PackageEntry& entry, WriteResult result) {
  if (!s.Log.IsOpen()) return;
  const std::string& target = entry.ExpandedTarget();
  if (result != WriteResult::Written) {
    s.Log.Line("File not written: " + text::Quoted(target) + " (" + WhyNotWritten(result) + ")");
    return;
  }
  std::string size = "?";
  if (const auto file = s.System.files.Open(target, platform::OpenMode::Read)) {
    if (const auto length = file->Length()) size = std::to_string(*length);
  }
  s.Log.Line("File written: " + text::Quoted(target) + " (" + size + " bytes, kind " +
             KindName(entry.Kind()) +
             (s.KeptCopies.count(target) ? ", earlier version kept until the end" : "") + ")");
}

void RemoveUsedFile(SetupSession& s, const std::string& path) {
  if (s.System.files.RemoveFile(path)) s.Log.Line("File removed after use: " + text::Quoted(path));
}

enum class EntryOutcome { Next, Done, EndStage };

EntryOutcome ProcessEntry(InstallRun& run, const package::PackageEntry& entry,
                          std::optional<bool> ahead, const std::string& keepList,
                          ProgressCounter& progress) {
  SetupSession& s = run.Session();
  const std::string& target = entry.ExpandedTarget();
  const EntryKind kind = entry.Kind();
  if (kind == EntryKind::Installer) return EntryOutcome::Done;

  if (kind == EntryKind::Uninstaller && NewerUninstallerRegistered(s)) {
    DropDecoded(s, entry, ahead);
    s.Log.Line("File skipped: " + text::Quoted(target) + " (a newer uninstaller is registered)");
    progress.Count();
    return EntryOutcome::Next;
  }
  if (text::FindText(keepList, text::AsciiUpper(entry.Target()), s.CodePage) != text::npos &&
      s.System.files.Open(target, platform::OpenMode::Read)) {
    DropDecoded(s, entry, ahead);
    s.Log.Line("File kept: " + text::Quoted(target) + " (on the keep list and present already)");
    progress.Count();
    return EntryOutcome::Next;
  }

  if (kind != EntryKind::Uninstaller) s.Project.InstalledFileList.push_back(target);
  const WriteResult result = WriteEntry(s, entry, ahead);
  LogWrite(s, entry, result);
  const bool written = result == WriteResult::Written;
  if (!written) s.UnwrittenFiles.insert(target);
  if (!written && !s.ExtractionOver && AskAboutWriteError(s, target)) {
    const project::LanguageTable& texts = s.Language;
    if (run.Host().AskAfterWriteError(texts.GetText(LanguageKey::WriteFileErrorDesc) + target +
                                          texts.GetText(LanguageKey::ErrorExitInstallDesc),
                                      texts.GetText(LanguageKey::MessageDesc))) {
      s.ExtractionOver = true;
      s.InstallRunning = false;
      return EntryOutcome::EndStage;
    }
  }
  if (s.ExtractionOver) {
    s.InstallRunning = false;
    return EntryOutcome::EndStage;
  }
  // A file that was not written keeps its own time stamp.
  progress.Count();

  switch (kind) {
    case EntryKind::RunAndDelete:
      RunAndWait(s.System, s.CodePage, target, platform::kShowShow);
      RemoveUsedFile(s, target);
      break;
    case EntryKind::RegistryImport:
      s.Log.Line("Registry file imported: " + text::Quoted(target));
      ImportRegistryTextFile(s, target);
      RemoveUsedFile(s, target);
      break;
    case EntryKind::Uninstaller:
      RecordUninstaller(s);
      break;
    default:
      break;
  }
  return EntryOutcome::Done;
}

// How long the stage took, and how much of that the pauses were, for the log; whichever way the
// stage ends.
class StageTiming {
 public:
  explicit StageTiming(InstallRun& run)
      : run_(run),
        started_(run.Session().System.clock.ElapsedMicroseconds()),
        pausedBefore_(run.PausedMicroseconds()) {}
  ~StageTiming() {
    SetupSession& s = run_.Session();
    if (!s.Log.IsOpen()) return;
    const std::uint64_t took = s.System.clock.ElapsedMicroseconds() - started_;
    const std::uint64_t paused = run_.PausedMicroseconds() - pausedBefore_;
    s.Log.Line("File stage over after " + std::to_string(took / 1000) + " ms (" +
               std::to_string(paused / 1000) + " ms of it pauses)");
  }
  StageTiming(const StageTiming&) = delete;
  StageTiming& operator=(const StageTiming&) = delete;

 private:
  InstallRun& run_;
  const std::uint64_t started_;
  const std::uint64_t pausedBefore_;
};

}  // namespace

std::optional<std::int32_t> ProgressPercent(std::int32_t counted, std::int32_t total) {
  if (total <= 0) return std::nullopt;
  const double percent = static_cast<double>(counted) / total * 100.0;
  return percent >= 100.0 ? 100 : static_cast<std::int32_t>(percent);
}

void RunFileStage(InstallRun& run, const std::vector<std::string>& entries) {
  SetupSession& s = run.Session();
  const StageTiming timing(run);
  run.Status(LanguageKey::CopyFileDesc);
  ProgressCounter progress(
      run.Host(), text::ParseDecimal32(s.Project.GetFieldValue(
                      project::task::Properties, SubTaskType::GetAllVar, FieldName::FileQty)));
  const std::string keepList = KeepList(s);
  std::vector<std::optional<package::PackageEntry>> parsed;
  parsed.reserve(entries.size());
  for (const auto& line : entries)
    parsed.push_back(package::PackageEntry::Parse(line, s.Expander()));
  // Leaving the stage early (a cancel, a write error, a volume given up) takes with it what was
  // decoded ahead.
  AheadDecoding ahead(s, parsed);
  for (std::size_t i = 0; i < parsed.size(); ++i) {
    ahead.FillAfter(i);
    const auto& entry = parsed[i];
    // A line without its four fields names no file; it is passed over.
    if (!entry || entry->Target().empty()) continue;
    const EntryOutcome outcome = ProcessEntry(run, *entry, ahead.Take(i), keepList, progress);
    if (outcome == EntryOutcome::EndStage) return;
    if (outcome == EntryOutcome::Next) continue;
    run.EntryPause();
    if (run.CancelPoint()) return;
  }
}

}  // namespace tarn::engine
