#include "engine/actions/RunJournal.h"

#include "engine/actions/FolderChain.h"
#include "engine/actions/ProductKey.h"
#include "engine/actions/RegistryKey.h"
#include "text/ByteText.h"

namespace tarn::engine {

std::string JournalFolder(SetupSession& s) {
  std::string shared = project::ShellFolder(s.System.registry, "Common AppData");
  if (shared.size() < 3) shared = s.Expand("[Windows Directory]");
  return shared + "\\TarnInstall";
}

void BeginJournal(SetupSession& s) {
  const std::string folder = JournalFolder(s);
  CreateFolderChain(s.System.files, folder, s.CodePage);
  const std::uint32_t process = s.System.shell.CurrentProcessId();
  const std::string path =
      folder + "\\" + s.RunStamp + "-" + std::to_string(process) + kJournalExtension;
  // Named before it exists, so that no journal is ever made that the next run would not find.
  RegistryKey key(s.System.registry, s.CodePage);
  if (key.OpenPath(kProductKey, true)) key.SetString(kInProgressValue, path);
  key.Close();
  if (!s.Journal.Open(s.System.files, path)) {
    s.Log.Line("No journal: " + text::Quoted(path) + " cannot be created");
    return;
  }
  s.Journal.Append(
      {JournalKind::Begin, {std::to_string(process), s.RunStamp, std::to_string(s.CodePage)}});
  s.Log.Line("Journal: " + text::Quoted(path));
}

void MarkJournalDone(SetupSession& s) { s.Journal.Append({JournalKind::Done, {}}); }

void EndJournal(SetupSession& s) {
  const std::string path = s.Journal.Path();
  if (path.empty()) return;
  s.Journal.Discard(s.System.files);
  // The folder goes with the last journal, so that a machine is left as it was found.
  s.System.files.RemoveEmptyDirectory(JournalFolder(s));
  RegistryKey key(s.System.registry, s.CodePage);
  // Another run may have begun since; its journal is not ours to forget.
  if (key.OpenPath(kProductKey, true) && key.QueryString(kInProgressValue) == path)
    key.DeleteValue(std::string(kProductKey) + "\\" + kInProgressValue);
}

}  // namespace tarn::engine
