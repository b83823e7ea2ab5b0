#pragma once
// A fresh, empty folder for one test, removed with everything in it when the test ends, and
// the machine's own file system to use in it. Paths inside it are Windows paths: on Windows
// the real temporary folder; natively a drive "C:" mapped under a Linux temporary folder.

#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace tarn::testing {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder itself, without a trailing backslash.
  const std::string& Path() const { return path_; }
  // Path() + "\" + name.
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
  platform::FileSystem& Files() { return *files_; }
  // Where a path of this folder lies on the host ("/tmp/.../C/scratch/a" natively).
  std::string HostPath(const std::string& path) const;

 private:
  std::string hostRoot_;
  std::string path_;
  std::unique_ptr<platform::FileSystem> files_;
};

}  // namespace tarn::testing
