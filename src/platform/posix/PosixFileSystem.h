#pragma once
// Files on Linux for the tools and tests. A Windows path "X:\a\b" lies at <root>/X/a/b; any
// other path is taken as a Linux path as it stands.

#include <string>

#include "platform/FileSystem.h"

namespace tarn::platform {

class PosixFileSystem : public FileSystem {
 public:
  explicit PosixFileSystem(std::string root = ".");

  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override;

  // The Linux path a Windows path is stored at.
  std::string HostPath(const std::string& path) const;

 private:
  std::string root_;
};

}  // namespace tarn::platform
