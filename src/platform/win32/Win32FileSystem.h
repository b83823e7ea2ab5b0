#pragma once
// Files on the real Win32 API (ANSI paths).

#include "platform/FileSystem.h"

namespace tarn::platform {

// Opens `path` as Win32FileSystem::Open does, for a caller that needs no file system object.
std::unique_ptr<File> OpenWin32File(const std::string& path, OpenMode mode);

class Win32FileSystem : public FileSystem {
 public:
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override;
  bool RemoveFile(const std::string& path) override;
  bool RenameFile(const std::string& from, const std::string& to) override;
  std::optional<bool> SetHidden(const std::string& path, bool hidden) override;
  std::optional<bool> IsHidden(const std::string& path) override;
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
};

}  // namespace tarn::platform
