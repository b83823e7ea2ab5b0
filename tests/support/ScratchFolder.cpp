#include "support/ScratchFolder.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#ifdef _WIN32
#include <process.h>

#include "platform/win32/Win32FileSystem.h"
#else
#include <unistd.h>

#include "platform/posix/PosixFileSystem.h"
#endif

namespace tarn::test {

namespace fs = std::filesystem;

namespace {

std::string UniqueName() {
  static std::atomic<int> counter{0};
#ifdef _WIN32
  const long pid = static_cast<long>(_getpid());
#else
  const long pid = static_cast<long>(getpid());
#endif
  return "tarn-scratch-" + std::to_string(pid) + "-" + std::to_string(counter++);
}

}  // namespace

ScratchFolder::ScratchFolder() {
  std::error_code ec;
  startFolder_ = fs::current_path(ec).string();
  const fs::path temp = fs::temp_directory_path() / UniqueName();
  hostRoot_ = temp.string();
  fs::create_directories(temp);
#ifdef _WIN32
  windowsBase_ = hostRoot_;
  for (char& c : windowsBase_) {
    if (c == '/') c = '\\';
  }
  if (!windowsBase_.empty() && windowsBase_.back() == '\\') windowsBase_.pop_back();
  fs_ = std::make_unique<platform::Win32FileSystem>();
#else
  windowsBase_ = "C:\\scratch";
  fs::create_directories(temp / "C" / "scratch");
  fs_ = std::make_unique<platform::PosixFileSystem>(hostRoot_);
#endif
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  // Code under test may have entered a folder in here (programs start from their own folder).
  if (!startFolder_.empty()) fs::current_path(startFolder_, ec);
  fs::remove_all(hostRoot_, ec);
}

std::string ScratchFolder::Path(const std::string& relative) const {
  return relative.empty() ? windowsBase_ : windowsBase_ + "\\" + relative;
}

std::string ScratchFolder::HostPath(const std::string& path) const {
  std::string rel = path;
  if (rel.compare(0, windowsBase_.size(), windowsBase_) == 0) {
    rel = rel.substr(windowsBase_.size());
    if (!rel.empty() && rel[0] == '\\') rel.erase(0, 1);
  }
#ifndef _WIN32
  for (char& c : rel) {
    if (c == '\\') c = '/';
  }
  return hostRoot_ + "/C/scratch" + (rel.empty() ? "" : "/" + rel);
#else
  return Path(rel);
#endif
}

void ScratchFolder::MakeFolder(const std::string& relative) const {
  fs::create_directories(HostPath(relative));
}

void ScratchFolder::WriteFile(const std::string& relative, const std::string& bytes) const {
  std::ofstream out(HostPath(relative), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool ScratchFolder::ReadFile(const std::string& relative, std::string& bytes) const {
  std::ifstream in(HostPath(relative), std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool ScratchFolder::Exists(const std::string& relative) const {
  std::error_code ec;
  return fs::exists(HostPath(relative), ec);
}

void ScratchFolder::Remove(const std::string& relative) const {
  std::error_code ec;
  fs::remove(HostPath(relative), ec);
}

}  // namespace tarn::test
