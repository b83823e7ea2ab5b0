#pragma once
// Loading system DLLs from the system folder only. A setup program is often run from a
// downloads folder full of other files; a DLL planted there must never be loaded instead.

#include <windows.h>

#include "platform/win32/Win32Toolkit.h"

namespace tarn::ui {

using platform::Library;

// Takes the program's folder and the current folder out of the DLL search, as early as
// possible; systems without the newer call at least lose the current folder.
void RestrictDllSearchToSystem();

// Loads `name` ("atl.dll") by its full path in the system folder; null when it is not there.
Library LoadSystemLibrary(const char* name);

// A function of a loaded library, typed; null when it is missing.
template <class Function>
Function* LibraryFunction(HMODULE module, const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace tarn::ui
