#pragma once
// Bases for file layers that wrap another: every call goes to the inner file system (or file),
// or fails when there is none, so that a wrapper overrides only the calls it is about (a
// journal of what was written, a fault on purpose, a file in memory).

#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tarn::platform {

class ForwardingFile : public File {
 public:
  explicit ForwardingFile(std::unique_ptr<File> inner = nullptr) : inner_(std::move(inner)) {}
  bool Read(void* buffer, std::size_t size, std::size_t& got) override {
    got = 0;
    return inner_ && inner_->Read(buffer, size, got);
  }
  bool Write(const void* data, std::size_t size) override {
    return inner_ && inner_->Write(data, size);
  }
  bool Seek(std::int64_t offset, SeekOrigin origin) override {
    return inner_ && inner_->Seek(offset, origin);
  }
  std::optional<std::uint64_t> Length() override {
    return inner_ ? inner_->Length() : std::nullopt;
  }
  bool SetTimes(FileTime c, FileTime a, FileTime w) override {
    return inner_ && inner_->SetTimes(c, a, w);
  }
  bool Flush() override { return inner_ && inner_->Flush(); }

 private:
  std::unique_ptr<File> inner_;
};

class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem* inner = nullptr) : inner_(inner) {}
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override {
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
  std::optional<std::vector<DirectoryEntry>> Enumerate(const std::string& pattern) override {
    return inner_ ? inner_->Enumerate(pattern) : std::nullopt;
  }
  bool IsDirectory(const std::string& path) override { return inner_ && inner_->IsDirectory(path); }
  bool Exists(const std::string& path) override { return inner_ && inner_->Exists(path); }
  bool ChangeCurrentDirectory(const std::string& path) override {
    return inner_ && inner_->ChangeCurrentDirectory(path);
  }
  std::string CurrentDirectory() override { return inner_ ? inner_->CurrentDirectory() : ""; }

 private:
  FileSystem* inner_;
};

}  // namespace tarn::platform
