#include "package/DiskFile.h"

namespace tarn::package {

bool DiskFile::Open(const std::string& path, Mode mode) {
  Close();
  const platform::OpenMode how = mode == Mode::Read    ? platform::OpenMode::Read
                                 : mode == Mode::Write ? platform::OpenMode::Write
                                                       : platform::OpenMode::Update;
  file_ = fs_->Open(path, how);
  if (!file_) return false;
  path_ = path;
  length_ = file_->Length().value_or(0);
  if (mode == Mode::Update && !file_->Seek(0, platform::SeekOrigin::End)) {
    Close();
    return false;
  }
  return true;
}

void DiskFile::Close() {
  file_.reset();
  length_ = 0;
}

bool DiskFile::Seek(std::int64_t distance, platform::SeekOrigin origin) {
  return file_ && file_->Seek(distance, origin);
}

bool DiskFile::Read(void* buffer, std::size_t count, std::size_t& got) {
  got = 0;
  return file_ && file_->Read(buffer, count, got);
}

bool DiskFile::Write(const void* data, std::size_t count) {
  return file_ && file_->Write(data, count);
}

bool DiskFile::SetTimes(platform::FileTime when) {
  return file_ && file_->SetTimes(when, when, when);
}

}  // namespace tarn::package
