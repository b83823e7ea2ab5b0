#include "support/FaultyFileSystem.h"

namespace tarn::test {

namespace {

class FaultyFile : public platform::ForwardingFile {
 public:
  FaultyFile(std::unique_ptr<platform::File> inner, FaultyFileSystem& owner)
      : ForwardingFile(std::move(inner)), owner_(owner) {}
  bool Write(const void* data, std::size_t size) override {
    return owner_.Proceed() && platform::ForwardingFile::Write(data, size);
  }
  bool Flush() override { return owner_.Proceed() && ForwardingFile::Flush(); }
  bool SetTimes(platform::FileTime c, platform::FileTime a, platform::FileTime w) override {
    return owner_.Proceed() && ForwardingFile::SetTimes(c, a, w);
  }

 private:
  FaultyFileSystem& owner_;
};

}  // namespace

bool FaultyFileSystem::Proceed() {
  const int operation = ++operations;
  if (stopAfter > 0 && operation > stopAfter) {
    stopped = true;
    // Thrown once: what runs while the stack unwinds must not throw again.
    if (std::this_thread::get_id() != runThread || unwound_.exchange(true)) return false;
    throw ProcessKilled{};
  }
  if (operation != failAt) return true;
  failed = true;
  return false;
}

std::unique_ptr<platform::File> FaultyFileSystem::Open(const std::string& path,
                                                       platform::OpenMode mode) {
  if (onCreate && mode != platform::OpenMode::Read && mode != platform::OpenMode::Update)
    onCreate(path);
  // Creating or truncating a file changes the disk too.
  if (mode != platform::OpenMode::Read && mode != platform::OpenMode::Update && !Proceed())
    return nullptr;
  auto file = ForwardingFileSystem::Open(path, mode);
  if (!file) return nullptr;
  return std::make_unique<FaultyFile>(std::move(file), *this);
}

bool FaultyFileSystem::RemoveFile(const std::string& path) {
  return Proceed() && ForwardingFileSystem::RemoveFile(path);
}

bool FaultyFileSystem::RenameFile(const std::string& from, const std::string& to) {
  return Proceed() && ForwardingFileSystem::RenameFile(from, to);
}

bool FaultyFileSystem::RenameOver(const std::string& from, const std::string& to) {
  return Proceed() && ForwardingFileSystem::RenameOver(from, to);
}

bool FaultyFileSystem::LinkFile(const std::string& existing, const std::string& link) {
  return Proceed() && ForwardingFileSystem::LinkFile(existing, link);
}

bool FaultyFileSystem::CopyFileTo(const std::string& from, const std::string& to,
                                  bool failIfExists) {
  return Proceed() && ForwardingFileSystem::CopyFileTo(from, to, failIfExists);
}

std::optional<bool> FaultyFileSystem::SetHidden(const std::string& path, bool hidden) {
  if (!Proceed()) return std::nullopt;
  return ForwardingFileSystem::SetHidden(path, hidden);
}

bool FaultyFileSystem::MakeDirectory(const std::string& path) {
  return Proceed() && ForwardingFileSystem::MakeDirectory(path);
}

bool FaultyFileSystem::RemoveEmptyDirectory(const std::string& path) {
  return Proceed() && ForwardingFileSystem::RemoveEmptyDirectory(path);
}

}  // namespace tarn::test
