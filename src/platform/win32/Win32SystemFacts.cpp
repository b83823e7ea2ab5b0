#include "platform/win32/Win32SystemFacts.h"

#include <windows.h>

#include <shlobj.h>

#include "platform/win32/Win32Toolkit.h"

namespace tarn::platform {

namespace {

// Calls a "fill this buffer" function with a buffer large enough for whatever it returns:
// such functions report the size they need when the buffer is too small.
template <typename Call>
std::string GrowingBuffer(Call call) {
  std::string buffer(MAX_PATH + 1, '\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD got = call(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got == 0) return {};
    if (got < buffer.size()) {
      buffer.resize(got);
      return buffer;
    }
    buffer.assign(got + 1, '\0');
  }
  return {};
}

// Memory of the shell's allocator, which need not be the COM task allocator on every system.
struct FreeShellMemory {
  static void Close(void* block) {
    ComPtr<IMalloc> allocator;
    if (SUCCEEDED(SHGetMalloc(allocator.Out()))) allocator->Free(block);
  }
};
using ShellItemList = UniqueHandle<toolkit::NullableTraits<LPITEMIDLIST, FreeShellMemory>>;

}  // namespace

std::uint32_t Win32SystemFacts::VersionWord() { return GetVersion(); }

std::optional<OsVersion> Win32SystemFacts::VersionDetails() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return std::nullopt;
  return OsVersion{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId};
}

std::string Win32SystemFacts::WindowsDirectory() {
  return GrowingBuffer([](char* b, DWORD n) { return GetWindowsDirectoryA(b, n); });
}

std::string Win32SystemFacts::SystemDirectory() {
  return GrowingBuffer([](char* b, DWORD n) { return GetSystemDirectoryA(b, n); });
}

std::string Win32SystemFacts::TempPath() {
  return GrowingBuffer([](char* b, DWORD n) { return GetTempPathA(n, b); });
}

namespace {

std::optional<std::string> SpecialFolder(int folder) {
  ShellItemList list;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, folder, list.Out()))) return std::nullopt;
  char path[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListA(list.Get(), path)) return std::nullopt;
  return std::string(path);
}

}  // namespace

std::optional<std::string> Win32SystemFacts::DesktopDirectory() {
  return SpecialFolder(CSIDL_DESKTOPDIRECTORY);
}

std::optional<std::string> Win32SystemFacts::UserAppDataDirectory() {
  return SpecialFolder(CSIDL_APPDATA);
}

std::string Win32SystemFacts::ModulePath() {
  std::string buffer(MAX_PATH + 1, '\0');
  for (int attempt = 0; attempt < 6; ++attempt) {
    const DWORD got = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got == 0) return {};
    // A full buffer means the name was cut short.
    if (got < buffer.size()) {
      buffer.resize(got);
      return buffer;
    }
    buffer.assign(buffer.size() * 2, '\0');
  }
  return {};
}

std::string Win32SystemFacts::UserName() {
  char name[1024] = {};
  DWORD size = sizeof name;
  if (!GetUserNameA(name, &size)) return {};
  return std::string(name);
}

std::string Win32SystemFacts::ComputerName() {
  char name[1024] = {};
  DWORD size = sizeof name;
  if (!GetComputerNameA(name, &size)) return {};
  return std::string(name, size);
}

std::uint32_t Win32SystemFacts::SystemLocale() { return GetSystemDefaultLCID(); }

std::uint32_t Win32SystemFacts::AnsiCodePage() { return GetACP(); }

std::int32_t Win32SystemFacts::DisplayLogPixelsY() {
  const CreatedDc display(CreateICA("DISPLAY", nullptr, nullptr, nullptr));
  if (!display) return 96;
  return GetDeviceCaps(display.Get(), LOGPIXELSY);
}

}  // namespace tarn::platform
