#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/Win32Toolkit.h"

namespace tarn::platform {

namespace {

FILETIME ToFiletime(FileTime time) {
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(time & 0xFFFFFFFFu);
  ft.dwHighDateTime = static_cast<DWORD>(time >> 32);
  return ft;
}

class Win32File : public File {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}

  bool Read(void* buffer, std::size_t size, std::size_t& got) override {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 0x40000000));
    DWORD read = 0;
    const BOOL ok = ReadFile(handle_.Get(), buffer, chunk, &read, nullptr);
    got = read;
    return ok != FALSE;
  }

  bool Write(const void* data, std::size_t size) override {
    const auto* in = static_cast<const unsigned char*>(data);
    while (size > 0) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 0x40000000));
      DWORD written = 0;
      if (!WriteFile(handle_.Get(), in, chunk, &written, nullptr) || written == 0) return false;
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
    SetLastError(NO_ERROR);
    const DWORD low =
        SetFilePointer(handle_.Get(), static_cast<LONG>(offset & 0xFFFFFFFF), &high, method);
    return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
  }

  std::optional<std::uint64_t> Length() override {
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(handle_.Get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return std::nullopt;
    return (static_cast<std::uint64_t>(high) << 32) | low;
  }

  bool SetTimes(FileTime created, FileTime accessed, FileTime written) override {
    const FILETIME c = ToFiletime(created), a = ToFiletime(accessed), w = ToFiletime(written);
    return SetFileTime(handle_.Get(), &c, &a, &w) != FALSE;
  }

  bool Flush() override { return FlushFileBuffers(handle_.Get()) != FALSE; }

 private:
  KernelHandle handle_;
};

}  // namespace

std::unique_ptr<File> OpenWin32File(const std::string& path, OpenMode mode) {
  DWORD access = GENERIC_READ;
  DWORD share = FILE_SHARE_READ;
  DWORD disposition = OPEN_EXISTING;
  if (mode == OpenMode::Write || mode == OpenMode::Log) {
    access = GENERIC_WRITE;
    share = mode == OpenMode::Log ? FILE_SHARE_READ : 0;
    disposition = CREATE_ALWAYS;
  } else if (mode == OpenMode::Update) {
    access = GENERIC_READ | GENERIC_WRITE;
    share = 0;
  }
  HANDLE handle = CreateFileA(path.c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32File>(handle);
}

std::unique_ptr<File> Win32FileSystem::Open(const std::string& path, OpenMode mode) {
  return OpenWin32File(path, mode);
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
  return DeleteFileA(path.c_str()) != FALSE;
}

bool Win32FileSystem::RenameFile(const std::string& from, const std::string& to) {
  return MoveFileA(from.c_str(), to.c_str()) != FALSE;
}

std::optional<bool> Win32FileSystem::SetHidden(const std::string& path, bool hidden) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  const DWORD wanted =
      hidden ? attributes | FILE_ATTRIBUTE_HIDDEN : attributes & ~DWORD{FILE_ATTRIBUTE_HIDDEN};
  if (wanted != attributes && !SetFileAttributesA(path.c_str(), wanted)) return std::nullopt;
  return (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

std::optional<bool> Win32FileSystem::IsHidden(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

bool Win32FileSystem::LinkFile(const std::string& existing, const std::string& link) {
  return CreateHardLinkA(link.c_str(), existing.c_str(), nullptr) != FALSE;
}

bool Win32FileSystem::RenameOver(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool Win32FileSystem::CopyFileTo(const std::string& from, const std::string& to,
                                 bool failIfExists) {
  return CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}

bool Win32FileSystem::MakeDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool Win32FileSystem::RemoveEmptyDirectory(const std::string& path) {
  return RemoveDirectoryA(path.c_str()) != FALSE;
}

std::optional<std::vector<DirectoryEntry>> Win32FileSystem::Enumerate(const std::string& pattern) {
  WIN32_FIND_DATAA data;
  FindHandle find(FindFirstFileA(pattern.c_str(), &data));
  if (!find.Valid()) {
    // A folder that exists but holds no match is an empty result, not a failure.
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return std::vector<DirectoryEntry>{};
    return std::nullopt;
  }
  std::vector<DirectoryEntry> entries;
  do {
    entries.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(find.Get(), &data));
  return entries;
}

bool Win32FileSystem::IsDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::ChangeCurrentDirectory(const std::string& path) {
  return SetCurrentDirectoryA(path.c_str()) != FALSE;
}

std::string Win32FileSystem::CurrentDirectory() {
  const DWORD needed = GetCurrentDirectoryA(0, nullptr);
  if (needed == 0) return {};
  std::string buffer(needed, '\0');
  const DWORD got = GetCurrentDirectoryA(needed, buffer.data());
  if (got == 0 || got >= needed) return {};
  buffer.resize(got);
  return buffer;
}

std::unique_ptr<FileSystem> MakeSystemFileSystem() { return std::make_unique<Win32FileSystem>(); }

}  // namespace tarn::platform
