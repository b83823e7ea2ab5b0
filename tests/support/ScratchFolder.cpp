#include "support/ScratchFolder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <stdexcept>

#ifdef _WIN32
#include "platform/win32/Win32FileSystem.h"
#else
#include "platform/posix/PosixFileSystem.h"
#endif

namespace tarn::testing {

namespace fs = std::filesystem;

namespace {

std::string UniqueName() {
  static std::atomic<unsigned> counter{0};
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  return "tarn-test-" + std::to_string(now) + "-" + std::to_string(counter++);
}

}  // namespace

ScratchFolder::ScratchFolder() {
  const fs::path host = fs::temp_directory_path() / UniqueName();
#ifdef _WIN32
  fs::create_directories(host);
  hostRoot_ = host.string();
  path_ = hostRoot_;
  files_ = std::make_unique<platform::Win32FileSystem>();
#else
  fs::create_directories(host / "C" / "scratch");
  hostRoot_ = host.string();
  path_ = "C:\\scratch";
  files_ = std::make_unique<platform::PosixFileSystem>(hostRoot_);
#endif
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(hostRoot_, ignored);
}

std::string ScratchFolder::HostPath(const std::string& path) const {
#ifdef _WIN32
  return path;
#else
  return static_cast<platform::PosixFileSystem&>(*files_).HostPath(path);
#endif
}

}  // namespace tarn::testing
