#pragma once
// The journal of one installation run: a file of records, each flushed to the disk before the
// operation it names is carried out. The install worker and its helpers append from any thread.

#include <memory>
#include <string>
#include <vector>

#include "engine/journal/JournalRecord.h"
#include "platform/FileSystem.h"
#include "platform/Threads.h"

namespace tarn::engine {

class InstallJournal {
 public:
  // Creates the journal file (replacing one of that name); false when it cannot be made.
  bool Open(platform::FileSystem& files, const std::string& path);
  bool IsOpen() const;
  std::string Path() const;

  // Writes one record and flushes it; nothing happens while the journal is closed. A record
  // that cannot be written is not waited for: the run goes on, undone in memory as before.
  void Append(JournalRecord record);
  // Several records written and flushed together.
  void Append(const std::vector<JournalRecord>& records);
  void Folder(const std::string& path) { Append({JournalKind::Folder, {path}}); }
  void Staged(const std::string& path) { Append({JournalKind::Staged, {path}}); }
  void New(const std::string& target) { Append({JournalKind::New, {target}}); }
  void Replaced(const std::string& target, const std::string& kept, bool wasHidden) {
    Append({JournalKind::Replaced, {target, kept, wasHidden ? "1" : "0"}});
  }

  // Closes the journal and keeps its file.
  void Close();
  // Closes the journal and deletes its file.
  void Discard(platform::FileSystem& files);

 private:
  mutable platform::Mutex mutex_;
  std::unique_ptr<platform::File> file_;
  std::string path_;
};

}  // namespace tarn::engine
