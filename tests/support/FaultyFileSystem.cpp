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

 private:
  FaultyFileSystem& owner_;
};

}  // namespace

bool FaultyFileSystem::Proceed() {
  ++operations;
  if (operations != failAt) return true;
  failed = true;
  return false;
}

std::unique_ptr<platform::File> FaultyFileSystem::Open(const std::string& path,
                                                       platform::OpenMode mode) {
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

}  // namespace tarn::test
