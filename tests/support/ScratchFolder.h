#pragma once
// A fresh folder for one test, reachable through the system's file layer with Windows paths.
// Natively, "C:\..." is mapped under a temporary root; under Wine it is a real folder in TEMP.

#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace tarn::test {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  platform::FileSystem& Files() { return *fs_; }
  // Windows path of `relative` (backslashes) inside the folder; the folder itself for "".
  std::string Path(const std::string& relative = "") const;
  std::string operator/(const std::string& relative) const { return Path(relative); }
  // Creates `relative` and its parents.
  void MakeFolder(const std::string& relative) const;
  void WriteFile(const std::string& relative, const std::string& bytes) const;
  // Contents of a file, or nothing when it does not exist.
  bool ReadFile(const std::string& relative, std::string& bytes) const;
  bool Exists(const std::string& relative) const;
  void Remove(const std::string& relative) const;
  // Where a file lies for programs that do not go through the file layer; `path` is relative
  // to the folder or a full path inside it.
  std::string HostPath(const std::string& path) const;

 private:
  std::string hostRoot_;     // what gets deleted at the end
  std::string startFolder_;  // the current folder when the scratch folder was made
  std::string windowsBase_;
  std::unique_ptr<platform::FileSystem> fs_;
};

}  // namespace tarn::test
