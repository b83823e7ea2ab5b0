#include "platform/win32/Win32SystemFacts.h"

#include <windows.h>

#include <shlobj.h>

#include "platform/win32/Win32Handles.h"

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

// An item list from the shell, freed with the shell's allocator.
class ItemList {
 public:
  explicit ItemList(IMalloc& allocator) : allocator_(allocator) {}
  ~ItemList() {
    if (list_) allocator_.Free(list_);
  }
  ItemList(const ItemList&) = delete;
  ItemList& operator=(const ItemList&) = delete;
  LPITEMIDLIST* out() { return &list_; }
  LPCITEMIDLIST get() const { return list_; }

 private:
  IMalloc& allocator_;
  LPITEMIDLIST list_ = nullptr;
};

// An information context on the display.
class DisplayContext {
 public:
  DisplayContext() : dc_(CreateICA("DISPLAY", nullptr, nullptr, nullptr)) {}
  ~DisplayContext() {
    if (dc_) DeleteDC(dc_);
  }
  DisplayContext(const DisplayContext&) = delete;
  DisplayContext& operator=(const DisplayContext&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

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
  ComPtr<IMalloc> allocator;
  if (FAILED(SHGetMalloc(reinterpret_cast<IMalloc**>(allocator.out())))) return std::nullopt;
  ItemList list(*allocator.get());
  if (FAILED(SHGetSpecialFolderLocation(nullptr, folder, list.out()))) return std::nullopt;
  char path[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListA(list.get(), path)) return std::nullopt;
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
  DisplayContext display;
  if (!display.get()) return 96;
  return GetDeviceCaps(display.get(), LOGPIXELSY);
}

}  // namespace tarn::platform
