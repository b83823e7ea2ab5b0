#include "engine/journal/InstallJournal.h"

namespace tarn::engine {

bool InstallJournal::Open(platform::FileSystem& files, const std::string& path) {
  std::lock_guard<platform::Mutex> lock(mutex_);
  file_ = files.Open(path, platform::OpenMode::Write);
  path_ = file_ ? path : std::string();
  return file_ != nullptr;
}

bool InstallJournal::IsOpen() const {
  std::lock_guard<platform::Mutex> lock(mutex_);
  return file_ != nullptr;
}

std::string InstallJournal::Path() const {
  std::lock_guard<platform::Mutex> lock(mutex_);
  return path_;
}

void InstallJournal::Append(JournalRecord record) { Append(std::vector<JournalRecord>{record}); }

void InstallJournal::Append(const std::vector<JournalRecord>& records) {
  std::lock_guard<platform::Mutex> lock(mutex_);
  if (!file_ || records.empty()) return;
  std::string lines;
  for (const auto& record : records) lines += FormatJournalRecord(record);
  if (file_->Write(lines.data(), lines.size())) file_->Flush();
}

void InstallJournal::Close() {
  std::lock_guard<platform::Mutex> lock(mutex_);
  file_.reset();
}

void InstallJournal::Discard(platform::FileSystem& files) {
  std::lock_guard<platform::Mutex> lock(mutex_);
  if (path_.empty()) return;
  file_.reset();
  files.RemoveFile(path_);
  path_.clear();
}

}  // namespace tarn::engine
