#pragma once
// Files on Linux for the tools and tests. A Windows path "X:\a\b" lies at <root>/X/a/b; any
// other path is a Linux path, in which backslashes stand for slashes.

#include <string>

#include "platform/FileSystem.h"

namespace tarn::platform {

class PosixFileSystem : public FileSystem {
 public:
  explicit PosixFileSystem(std::string root = ".");

  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override;
  bool RemoveFile(const std::string& path) override;
  bool RenameFile(const std::string& from, const std::string& to) override;
  std::optional<bool> SetHidden(const std::string& path, bool hidden) override;
  bool LinkFile(const std::string& existing, const std::string& link) override;
  bool RenameOver(const std::string& from, const std::string& to) override;
  bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) override;
  bool MakeDirectory(const std::string& path) override;
  bool RemoveEmptyDirectory(const std::string& path) override;
  std::optional<std::vector<DirectoryEntry>> Enumerate(const std::string& pattern) override;
  bool IsDirectory(const std::string& path) override;
  bool Exists(const std::string& path) override;
  bool ChangeCurrentDirectory(const std::string& path) override;
  std::string CurrentDirectory() override;

  // The Linux path a Windows path is stored at.
  std::string HostPath(const std::string& path) const;
  // The Windows path of a Linux path below the root ("X:\a\b"); other paths as they stand.
  std::string GuestPath(const std::string& hostPath) const;

 private:
  std::string root_;
};

}  // namespace tarn::platform
