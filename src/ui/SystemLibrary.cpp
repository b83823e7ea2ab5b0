#include "ui/SystemLibrary.h"

#include <string>
#include <vector>

namespace tarn::ui {

void RestrictDllSearchToSystem() {
  using SetDefaultDllDirectoriesFn = BOOL WINAPI(DWORD);
  if (HMODULE kernel = GetModuleHandleA("kernel32.dll")) {
    if (auto restrict =
            LibraryFunction<SetDefaultDllDirectoriesFn>(kernel, "SetDefaultDllDirectories"))
      restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  SetDllDirectoryA("");
}

Library LoadSystemLibrary(const char* name) {
  const UINT length = GetSystemDirectoryA(nullptr, 0);
  if (length == 0) return Library();
  std::vector<char> folder(length + 1, '\0');
  if (GetSystemDirectoryA(folder.data(), length + 1) == 0) return Library();
  const std::string path = std::string(folder.data()) + "\\" + name;
  return Library(LoadLibraryA(path.c_str()));
}

}  // namespace tarn::ui
