#pragma once
// A file layer that fails one chosen operation: the n-th change to the disk (writes, flushes,
// renames, links, copies, deletions, attribute changes and folder creations, counted together,
// from 1), and forwards everything else. With no n set it only counts. With `stopAfter` set it
// plays a process killed after that many changes: every change after them fails, and the first
// that comes on the thread that made the layer (the run's) throws ProcessKilled, which unwinds
// the run on the spot. Changes may come from several threads (files decoded ahead); they are
// counted in the order they reach the layer, and only the run's thread can be unwound.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/ForwardingFileSystem.h"

namespace tarn::test {

struct ProcessKilled {};

class FaultyFileSystem : public platform::ForwardingFileSystem {
 public:
  explicit FaultyFileSystem(platform::FileSystem& inner) : ForwardingFileSystem(&inner) {}

  // 0: nothing fails.
  int failAt = 0;
  std::atomic<int> operations{0};
  // Whether the chosen operation came and failed.
  std::atomic<bool> failed{false};
  // 0: the process lives on.
  int stopAfter = 0;
  // Whether the process was killed.
  std::atomic<bool> stopped{false};
  const std::thread::id runThread = std::this_thread::get_id();
  // Called with the path of every file about to be created or truncated, on the thread that
  // creates it: a test can slow down one file's writing.
  std::function<void(const std::string&)> onCreate;

  std::unique_ptr<platform::File> Open(const std::string& path, platform::OpenMode mode) override;
  bool RemoveFile(const std::string& path) override;
  bool RenameFile(const std::string& from, const std::string& to) override;
  bool RenameOver(const std::string& from, const std::string& to) override;
  bool LinkFile(const std::string& existing, const std::string& link) override;
  bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) override;
  std::optional<bool> SetHidden(const std::string& path, bool hidden) override;
  bool MakeDirectory(const std::string& path) override;
  bool RemoveEmptyDirectory(const std::string& path) override;

  // Counts one operation; false when it is the one to fail.
  bool Proceed();

 private:
  std::atomic<bool> unwound_{false};
};

}  // namespace tarn::test
