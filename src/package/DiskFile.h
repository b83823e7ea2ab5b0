#pragma once
// A small file wrapper with the three modes the installer uses: read, write (replace) and
// update (read and write an existing file, positioned at its end).

#include <cstdint>
#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace tarn::package {

class DiskFile {
 public:
  enum class Mode { Read, Write, Update };

  explicit DiskFile(platform::FileSystem& fs) : fs_(&fs) {}

  // Opening a file that is open closes it first.
  bool Open(const std::string& path, Mode mode);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }

  const std::string& Path() const { return path_; }
  // Length read when the file was opened.
  std::uint64_t Length() const { return length_; }

  bool Seek(std::int64_t distance, platform::SeekOrigin origin);
  bool Read(void* buffer, std::size_t count, std::size_t& got);
  bool Write(const void* data, std::size_t count);
  // Creation, last-access and last-write time all at once.
  bool SetTimes(platform::FileTime when);

 private:
  platform::FileSystem* fs_;
  std::unique_ptr<platform::File> file_;
  std::string path_;
  std::uint64_t length_ = 0;
};

}  // namespace tarn::package
