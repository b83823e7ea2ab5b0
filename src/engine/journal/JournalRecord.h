#pragma once
// The records of the installation journal: one line each, written ahead of the operation it
// names, so that a run killed at any point can be undone by the next one. A line is
//   <CRC-32 of the rest, 8 hex digits> <kind>[<TAB><field>...]<LF>
// and paths are bytes in the run's code page (never holding TAB or LF, which no Windows path
// may). A line cut off by a crash, or damaged, ends what is read: everything before it is sound.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::engine {

enum class JournalKind {
  Begin,     // process ID, run stamp, code page
  Folder,    // a folder about to be created
  Staged,    // a new version about to be written under its staged name
  New,       // a target that did not exist, about to get its new version
  Replaced,  // target, kept name, whether the target was hidden: the earlier version kept
  Done,      // the installation completed: only the kept copies are left to discard
};

struct JournalRecord {
  JournalKind kind = JournalKind::Begin;
  std::vector<std::string> fields;

  bool operator==(const JournalRecord& o) const { return kind == o.kind && fields == o.fields; }
};

std::string FormatJournalRecord(const JournalRecord& record);

struct JournalContents {
  std::vector<JournalRecord> records;
  // A line was cut off or did not check out; nothing after it was read.
  bool damaged = false;
};

JournalContents ParseJournal(std::string_view text);

}  // namespace tarn::engine
