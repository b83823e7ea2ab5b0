#pragma once
// A file layer that fails one chosen operation: the n-th write, rename or delete (counted
// together, from 1), and forwards everything else. With no n set it only counts.

#include <memory>
#include <string>

#include "platform/ForwardingFileSystem.h"

namespace tarn::test {

class FaultyFileSystem : public platform::ForwardingFileSystem {
 public:
  explicit FaultyFileSystem(platform::FileSystem& inner) : ForwardingFileSystem(&inner) {}

  // 0: nothing fails.
  int failAt = 0;
  int operations = 0;
  // Whether the chosen operation came and failed.
  bool failed = false;

  std::unique_ptr<platform::File> Open(const std::string& path, platform::OpenMode mode) override;
  bool RemoveFile(const std::string& path) override;
  bool RenameFile(const std::string& from, const std::string& to) override;

  // Counts one operation; false when it is the one to fail.
  bool Proceed();
};

}  // namespace tarn::test
