#pragma once
// A file layer that serves files from memory and refuses everything else: the fuzz targets hand
// their input to a reader as a file without touching the disk, so runs stay fast and
// independent of each other.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/ForwardingFileSystem.h"

namespace tarn::fuzz {

class MemoryFile : public platform::File {
 public:
  explicit MemoryFile(const std::string& content) : content_(content) {}
  bool Read(void* buffer, std::size_t size, std::size_t& got) override {
    const std::size_t left = position_ < content_.size() ? content_.size() - position_ : 0;
    got = std::min(size, left);
    if (got > 0) std::memcpy(buffer, content_.data() + position_, got);
    position_ += got;
    return true;
  }
  bool Write(const void*, std::size_t) override { return false; }
  bool Seek(std::int64_t offset, platform::SeekOrigin origin) override {
    std::int64_t base = 0;
    if (origin == platform::SeekOrigin::Current) base = static_cast<std::int64_t>(position_);
    if (origin == platform::SeekOrigin::End) base = static_cast<std::int64_t>(content_.size());
    if (offset < 0 ? -(offset + 1) >= base : offset > INT64_MAX - base) return false;
    position_ = static_cast<std::uint64_t>(base + offset);
    return true;
  }
  std::optional<std::uint64_t> Length() override { return content_.size(); }
  bool SetTimes(platform::FileTime, platform::FileTime, platform::FileTime) override {
    return false;
  }

 private:
  const std::string& content_;
  std::uint64_t position_ = 0;
};

// Read-only files by exact path; writes, renames and the rest fail.
class MemoryFileSystem : public platform::ForwardingFileSystem {
 public:
  void Put(const std::string& path, std::string content) { files_[path] = std::move(content); }

  std::unique_ptr<platform::File> Open(const std::string& path, platform::OpenMode mode) override {
    const auto it = files_.find(path);
    if (mode != platform::OpenMode::Read || it == files_.end()) return nullptr;
    return std::make_unique<MemoryFile>(it->second);
  }
  bool Exists(const std::string& path) override { return files_.count(path) != 0; }
  bool IsDirectory(const std::string&) override { return false; }

 private:
  std::map<std::string, std::string> files_;
};

}  // namespace tarn::fuzz
