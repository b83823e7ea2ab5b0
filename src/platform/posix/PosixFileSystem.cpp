#include "platform/posix/PosixFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tarn::platform {

namespace {

class PosixFile : public File {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { ::close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  bool Read(void* buffer, std::size_t size, std::size_t& got) override {
    got = 0;
    for (;;) {
      const ssize_t n = ::read(fd_, buffer, size);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return false;
      got = static_cast<std::size_t>(n);
      return true;
    }
  }

  bool Write(const void* data, std::size_t size) override {
    const auto* in = static_cast<const unsigned char*>(data);
    while (size > 0) {
      const ssize_t n = ::write(fd_, in, size);
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
    return ::lseek(fd_, static_cast<off_t>(offset), whence) >= 0;
  }

  std::optional<std::uint64_t> Length() override {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
  }

 private:
  int fd_;
};

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

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
  return path;
}

std::unique_ptr<File> PosixFileSystem::Open(const std::string& path, OpenMode mode) {
  int flags = O_RDONLY;
  if (mode == OpenMode::Write) flags = O_WRONLY | O_CREAT | O_TRUNC;
  if (mode == OpenMode::Update) flags = O_RDWR;
  const int fd = ::open(HostPath(path).c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixFile>(fd);
}

std::unique_ptr<FileSystem> MakeSystemFileSystem() { return std::make_unique<PosixFileSystem>(); }

}  // namespace tarn::platform
