#include "support/win32/FilesOnDisk.h"

#include <windows.h>

#include "platform/win32/Win32Toolkit.h"

namespace tarn::test {

using platform::KernelHandle;

std::string ReadFileBytes(const std::string& path) {
  KernelHandle file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.Valid()) return "<missing>";
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  return bytes;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string LocalWriteTime(const std::string& path) {
  KernelHandle file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  FILETIME created, accessed, written, local;
  SYSTEMTIME t;
  if (!file.Valid() || !GetFileTime(file.Get(), &created, &accessed, &written) ||
      !FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &t))
    return "<none>";
  return std::to_string(t.wYear) + "-" + std::to_string(t.wMonth) + "-" + std::to_string(t.wDay) +
         " " + std::to_string(t.wHour) + ":" + std::to_string(t.wMinute) + ":" +
         std::to_string(t.wSecond);
}

}  // namespace tarn::test
