#pragma once
// A file layer that reads from the real one and throws written bytes away, counting them: for
// decoding every stream of a package without writing it anywhere.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tarnpack {

// A file layer that reads from the real one and throws written bytes away, counting them.
class DiscardingFileSystem : public tarn::platform::FileSystem {
 public:
  explicit DiscardingFileSystem(tarn::platform::FileSystem& real) : real_(real) {}

  std::unique_ptr<tarn::platform::File> Open(const std::string& path,
                                             tarn::platform::OpenMode mode) override {
    if (mode == tarn::platform::OpenMode::Read) return real_.Open(path, mode);
    return std::make_unique<Sink>(written_);
  }
  bool RemoveFile(const std::string&) override { return true; }
  bool RenameFile(const std::string&, const std::string&) override { return true; }
  std::optional<bool> SetHidden(const std::string&, bool) override { return false; }
  bool CopyFileTo(const std::string&, const std::string&, bool) override { return false; }
  bool MakeDirectory(const std::string&) override { return false; }
  bool RemoveEmptyDirectory(const std::string&) override { return false; }
  std::optional<std::vector<tarn::platform::DirectoryEntry>> Enumerate(
      const std::string&) override {
    return std::nullopt;
  }
  bool IsDirectory(const std::string& path) override { return real_.IsDirectory(path); }
  bool Exists(const std::string& path) override { return real_.Exists(path); }
  bool ChangeCurrentDirectory(const std::string&) override { return false; }
  std::string CurrentDirectory() override { return real_.CurrentDirectory(); }

  std::uint64_t Written() const { return written_; }
  void ResetWritten() { written_ = 0; }

 private:
  class Sink : public tarn::platform::File {
   public:
    explicit Sink(std::uint64_t& written) : written_(written) {}
    bool Read(void*, std::size_t, std::size_t& got) override {
      got = 0;
      return false;
    }
    bool Write(const void*, std::size_t size) override {
      written_ += size;
      return true;
    }
    bool Seek(std::int64_t, tarn::platform::SeekOrigin) override { return true; }
    std::optional<std::uint64_t> Length() override { return written_; }
    bool SetTimes(tarn::platform::FileTime, tarn::platform::FileTime,
                  tarn::platform::FileTime) override {
      return true;
    }

   private:
    std::uint64_t& written_;
  };

  tarn::platform::FileSystem& real_;
  std::uint64_t written_ = 0;
};

}  // namespace tarnpack
