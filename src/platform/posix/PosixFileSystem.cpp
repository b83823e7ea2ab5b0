#include "platform/posix/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace tarn::platform {

// Package offsets and file sizes are 64-bit; so must the system's be, in 32-bit builds too
// (the build defines _FILE_OFFSET_BITS=64 and _TIME_BITS=64).
static_assert(sizeof(off_t) == 8, "64-bit file offsets needed");
static_assert(sizeof(time_t) == 8, "64-bit time stamps needed");

namespace {

// Seconds between 1601-01-01 and 1970-01-01.
constexpr std::int64_t kEpochDifference = 11644473600;

timespec ToTimespec(FileTime time) {
  const std::int64_t ticks = static_cast<std::int64_t>(time) - kEpochDifference * 10000000;
  std::int64_t seconds = ticks / 10000000;
  std::int64_t rest = ticks % 10000000;
  if (rest < 0) {
    rest += 10000000;
    --seconds;
  }
  timespec ts{};
  ts.tv_sec = static_cast<time_t>(seconds);
  ts.tv_nsec = static_cast<long>(rest * 100);
  return ts;
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

class PosixFile : public File {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}

  bool Read(void* buffer, std::size_t size, std::size_t& got) override {
    got = 0;
    for (;;) {
      const ssize_t n = ::read(fd_.get(), buffer, size);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return false;
      got = static_cast<std::size_t>(n);
      return true;
    }
  }

  bool Write(const void* data, std::size_t size) override {
    const auto* in = static_cast<const unsigned char*>(data);
    while (size > 0) {
      const ssize_t n = ::write(fd_.get(), in, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      in += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  }

  bool Seek(std::int64_t offset, SeekOrigin origin) override {
    const int whence = origin == SeekOrigin::Begin     ? SEEK_SET
                       : origin == SeekOrigin::Current ? SEEK_CUR
                                                       : SEEK_END;
    return ::lseek(fd_.get(), static_cast<off_t>(offset), whence) >= 0;
  }

  std::optional<std::uint64_t> Length() override {
    struct stat st {};
    if (::fstat(fd_.get(), &st) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
  }

  bool SetTimes(FileTime, FileTime accessed, FileTime written) override {
    const timespec times[2] = {ToTimespec(accessed), ToTimespec(written)};
    return ::futimens(fd_.get(), times) == 0;
  }

  bool Flush() override { return ::fsync(fd_.get()) == 0; }

 private:
  FileDescriptor fd_;
};

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

class DirectoryStream {
 public:
  explicit DirectoryStream(const std::string& path) : dir_(::opendir(path.c_str())) {}
  ~DirectoryStream() {
    if (dir_) ::closedir(dir_);
  }
  DirectoryStream(const DirectoryStream&) = delete;
  DirectoryStream& operator=(const DirectoryStream&) = delete;
  DIR* get() const { return dir_; }

 private:
  DIR* dir_;
};

}  // namespace

PosixFileSystem::PosixFileSystem(std::string root) : root_(std::move(root)) {}

std::string PosixFileSystem::HostPath(const std::string& path) const {
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
    std::string host = root_ + "/";
    host += static_cast<char>(path[0] >= 'a' ? path[0] - 'a' + 'A' : path[0]);
    std::string rest = path.substr(2);
    for (char& c : rest) {
      if (c == '\\') c = '/';
    }
    if (rest.empty() || rest[0] != '/') host += '/';
    return host + rest;
  }
  // Other paths are Linux paths, possibly written with backslashes the Windows way.
  std::string host = path;
  for (char& c : host) {
    if (c == '\\') c = '/';
  }
  return host;
}

std::string PosixFileSystem::GuestPath(const std::string& hostPath) const {
  char resolved[PATH_MAX];
  std::string root = ::realpath(root_.c_str(), resolved) ? resolved : root_;
  if (hostPath.size() >= root.size() + 2 && hostPath.compare(0, root.size(), root) == 0 &&
      hostPath[root.size()] == '/' && IsDriveLetter(hostPath[root.size() + 1]) &&
      (hostPath.size() == root.size() + 2 || hostPath[root.size() + 2] == '/')) {
    std::string guest;
    guest += hostPath[root.size() + 1];
    guest += ':';
    std::string rest = hostPath.substr(root.size() + 2);
    for (char& c : rest) {
      if (c == '/') c = '\\';
    }
    return guest + (rest.empty() ? "\\" : rest);
  }
  return hostPath;
}

std::unique_ptr<File> PosixFileSystem::Open(const std::string& path, OpenMode mode) {
  int flags = O_RDONLY;
  if (mode == OpenMode::Write || mode == OpenMode::Log) flags = O_WRONLY | O_CREAT | O_TRUNC;
  if (mode == OpenMode::Update) flags = O_RDWR;
  const int fd = ::open(HostPath(path).c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  auto file = std::make_unique<PosixFile>(fd);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) return nullptr;
  return file;
}

bool PosixFileSystem::RemoveFile(const std::string& path) {
  return ::unlink(HostPath(path).c_str()) == 0;
}

bool PosixFileSystem::RenameFile(const std::string& from, const std::string& to) {
  const std::string source = HostPath(from), target = HostPath(to);
#ifdef SYS_renameat2
  // One call that refuses an existing target, where the kernel and file system offer it.
  constexpr unsigned kNoReplace = 1;  // RENAME_NOREPLACE
  if (::syscall(SYS_renameat2, AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), kNoReplace) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
#endif
  // link() refuses an existing target where rename() would replace it.
  if (::link(source.c_str(), target.c_str()) != 0) return false;
  return ::unlink(source.c_str()) == 0;
}

bool PosixFileSystem::LinkFile(const std::string& existing, const std::string& link) {
  return ::link(HostPath(existing).c_str(), HostPath(link).c_str()) == 0;
}

bool PosixFileSystem::RenameOver(const std::string& from, const std::string& to) {
  return ::rename(HostPath(from).c_str(), HostPath(to).c_str()) == 0;
}

std::optional<bool> PosixFileSystem::SetHidden(const std::string& path, bool) {
  if (::access(HostPath(path).c_str(), F_OK) != 0) return std::nullopt;
  return false;
}

bool PosixFileSystem::CopyFileTo(const std::string& from, const std::string& to,
                                 bool failIfExists) {
  FileDescriptor in(::open(HostPath(from).c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return false;
  struct stat st {};
  if (::fstat(in.get(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  const int create = failIfExists ? O_CREAT | O_EXCL : O_CREAT | O_TRUNC;
  const int outFd = ::open(HostPath(to).c_str(), O_WRONLY | O_CLOEXEC | create, 0644);
  if (outFd < 0) return false;
  PosixFile out(outFd);
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(in.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    if (!out.Write(buffer, static_cast<std::size_t>(n))) return false;
  }
  // A copy keeps the time stamps of its original, as on Windows.
  const timespec times[2] = {st.st_atim, st.st_mtim};
  return ::futimens(outFd, times) == 0;
}

bool PosixFileSystem::MakeDirectory(const std::string& path) {
  return ::mkdir(HostPath(path).c_str(), 0755) == 0;
}

bool PosixFileSystem::RemoveEmptyDirectory(const std::string& path) {
  return ::rmdir(HostPath(path).c_str()) == 0;
}

std::optional<std::vector<DirectoryEntry>> PosixFileSystem::Enumerate(const std::string& pattern) {
  const std::size_t slash = pattern.find_last_of('\\');
  const std::string folder = slash == std::string::npos ? "." : pattern.substr(0, slash + 1);
  std::string mask = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  // "*.*" matches every name on Windows, dotless ones included.
  if (mask == "*.*") mask = "*";
  const std::string hostFolder = HostPath(folder);
  DirectoryStream dir(hostFolder);
  if (!dir.get()) return std::nullopt;
  std::vector<DirectoryEntry> entries;
  while (const dirent* entry = ::readdir(dir.get())) {
    if (::fnmatch(mask.c_str(), entry->d_name, FNM_CASEFOLD) != 0) continue;
    struct stat st {};
    const std::string full = hostFolder + "/" + entry->d_name;
    const bool directory = ::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    entries.push_back({entry->d_name, directory});
  }
  return entries;
}

bool PosixFileSystem::IsDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(HostPath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::Exists(const std::string& path) {
  struct stat st {};
  return ::stat(HostPath(path).c_str(), &st) == 0;
}

bool PosixFileSystem::ChangeCurrentDirectory(const std::string& path) {
  return ::chdir(HostPath(path).c_str()) == 0;
}

std::string PosixFileSystem::CurrentDirectory() {
  char buffer[PATH_MAX];
  if (!::getcwd(buffer, sizeof buffer)) return {};
  return GuestPath(buffer);
}

std::unique_ptr<FileSystem> MakeSystemFileSystem() { return std::make_unique<PosixFileSystem>(); }

}  // namespace tarn::platform
