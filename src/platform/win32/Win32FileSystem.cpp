#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>

namespace tarn::platform {

namespace {

class Win32File : public File {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}
  ~Win32File() override { CloseHandle(handle_); }
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;

  bool Read(void* buffer, std::size_t size, std::size_t& got) override {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 0x40000000));
    DWORD read = 0;
    const BOOL ok = ReadFile(handle_, buffer, chunk, &read, nullptr);
    got = read;
    return ok != FALSE;
  }

  bool Write(const void* data, std::size_t size) override {
    const auto* in = static_cast<const unsigned char*>(data);
    while (size > 0) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 0x40000000));
      DWORD written = 0;
      if (!WriteFile(handle_, in, chunk, &written, nullptr) || written == 0) return false;
      in += written;
      size -= written;
    }
    return true;
  }

  bool Seek(std::int64_t offset, SeekOrigin origin) override {
    const DWORD method = origin == SeekOrigin::Begin     ? FILE_BEGIN
                         : origin == SeekOrigin::Current ? FILE_CURRENT
                                                         : FILE_END;
    LONG high = static_cast<LONG>(offset >> 32);
    const DWORD low =
        SetFilePointer(handle_, static_cast<LONG>(offset & 0xFFFFFFFF), &high, method);
    return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
  }

  std::optional<std::uint64_t> Length() override {
    DWORD high = 0;
    const DWORD low = GetFileSize(handle_, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return std::nullopt;
    return (static_cast<std::uint64_t>(high) << 32) | low;
  }

 private:
  HANDLE handle_;
};

}  // namespace

std::unique_ptr<File> Win32FileSystem::Open(const std::string& path, OpenMode mode) {
  DWORD access = GENERIC_READ;
  DWORD share = FILE_SHARE_READ;
  DWORD disposition = OPEN_EXISTING;
  if (mode == OpenMode::Write) {
    access = GENERIC_WRITE;
    share = 0;
    disposition = CREATE_ALWAYS;
  } else if (mode == OpenMode::Update) {
    access = GENERIC_READ | GENERIC_WRITE;
    share = 0;
  }
  SetLastError(NO_ERROR);
  HANDLE handle = CreateFileA(path.c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32File>(handle);
}

std::unique_ptr<FileSystem> MakeSystemFileSystem() { return std::make_unique<Win32FileSystem>(); }

}  // namespace tarn::platform
