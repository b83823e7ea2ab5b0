#pragma once
// Bases for file-layer test doubles: everything goes to an inner file system (or file), or
// fails when there is none, so a fake overrides only what its test is about.

#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tarn::test {

class ForwardingFile : public platform::File {
 public:
  explicit ForwardingFile(std::unique_ptr<platform::File> inner = nullptr)
      : inner_(std::move(inner)) {}
  bool Read(void* buffer, std::size_t size, std::size_t& got) override {
    got = 0;
    return inner_ && inner_->Read(buffer, size, got);
  }
  bool Write(const void* data, std::size_t size) override {
    return inner_ && inner_->Write(data, size);
  }
  bool Seek(std::int64_t offset, platform::SeekOrigin origin) override {
    return inner_ && inner_->Seek(offset, origin);
  }
  std::optional<std::uint64_t> Length() override {
    return inner_ ? inner_->Length() : std::nullopt;
  }
  bool SetTimes(platform::FileTime c, platform::FileTime a, platform::FileTime w) override {
    return inner_ && inner_->SetTimes(c, a, w);
  }
  bool Flush() override { return inner_ && inner_->Flush(); }

 private:
  std::unique_ptr<platform::File> inner_;
};

class ForwardingFileSystem : public platform::FileSystem {
 public:
  explicit ForwardingFileSystem(platform::FileSystem* inner = nullptr) : inner_(inner) {}
  std::unique_ptr<platform::File> Open(const std::string& path, platform::OpenMode mode) override {
    return inner_ ? inner_->Open(path, mode) : nullptr;
  }
  bool RemoveFile(const std::string& path) override { return inner_ && inner_->RemoveFile(path); }
  bool RenameFile(const std::string& from, const std::string& to) override {
    return inner_ && inner_->RenameFile(from, to);
  }
  std::optional<bool> SetHidden(const std::string& path, bool hidden) override {
    return inner_ ? inner_->SetHidden(path, hidden) : std::nullopt;
  }
  std::optional<bool> IsHidden(const std::string& path) override {
    return inner_ ? inner_->IsHidden(path) : std::nullopt;
  }
  bool LinkFile(const std::string& existing, const std::string& link) override {
    return inner_ && inner_->LinkFile(existing, link);
  }
  bool RenameOver(const std::string& from, const std::string& to) override {
    return inner_ && inner_->RenameOver(from, to);
  }
  bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) override {
    return inner_ && inner_->CopyFileTo(from, to, failIfExists);
  }
  bool MakeDirectory(const std::string& path) override {
    return inner_ && inner_->MakeDirectory(path);
  }
  bool RemoveEmptyDirectory(const std::string& path) override {
    return inner_ && inner_->RemoveEmptyDirectory(path);
  }
  std::optional<std::vector<platform::DirectoryEntry>> Enumerate(
      const std::string& pattern) override {
    return inner_ ? inner_->Enumerate(pattern) : std::nullopt;
  }
  bool IsDirectory(const std::string& path) override { return inner_ && inner_->IsDirectory(path); }
  bool Exists(const std::string& path) override { return inner_ && inner_->Exists(path); }
  bool ChangeCurrentDirectory(const std::string& path) override {
    return inner_ && inner_->ChangeCurrentDirectory(path);
  }
  std::string CurrentDirectory() override { return inner_ ? inner_->CurrentDirectory() : ""; }

 private:
  platform::FileSystem* inner_;
};

}  // namespace tarn::test
