#pragma once
// Doubles for the uninstaller: a file layer where chosen files are held open by a running
// program (they cannot be deleted, but can be renamed, as a running program's file), and
// removal services that note what was left for the restart.

#include <set>
#include <string>
#include <vector>

#include "platform/ForwardingFileSystem.h"
#include "text/ByteText.h"
#include "uninstall/RemovalServices.h"

namespace tarn::test {

class HeldFileSystem : public platform::ForwardingFileSystem {
 public:
  explicit HeldFileSystem(platform::FileSystem& inner) : ForwardingFileSystem(&inner) {}
  std::set<std::string> held;  // upper-cased paths

  bool RemoveFile(const std::string& path) override {
    if (held.count(text::AsciiUpper(path))) return false;
    return platform::ForwardingFileSystem::RemoveFile(path);
  }
  bool RenameFile(const std::string& from, const std::string& to) override {
    if (!platform::ForwardingFileSystem::RenameFile(from, to)) return false;
    if (held.erase(text::AsciiUpper(from))) held.insert(text::AsciiUpper(to));
    return true;
  }
};

class FakeRemovalServices : public uninstall::RemovalServices {
 public:
  std::set<std::string> reparsePoints;  // upper-cased paths
  std::vector<std::string> atRestart;

  bool IsReparsePoint(const std::string& path) override {
    return reparsePoints.count(text::AsciiUpper(path)) != 0;
  }
  bool RemoveAtRestart(const std::string& path) override {
    atRestart.push_back(path);
    return true;
  }
};

}  // namespace tarn::test
