#include "support/win32/ScratchWin32Platform.h"

namespace tarn::test {

namespace {

const ScratchFolder& WithFolders(const ScratchFolder& dir) {
  for (const char* folder : {"temp", "setup", "WINDOWS\\system32", "Desktop", "AppData",
                             "Start Menu\\Programs\\StartUp", "All Users\\Application Data"})
    dir.MakeFolder(folder);
  return dir;
}

}  // namespace

ScratchWin32Platform::ScratchWin32Platform(const ScratchFolder& dir)
    : registry({{"Common Programs", dir.Path("Start Menu\\Programs")},
                {"Common Startup", dir.Path("Start Menu\\Programs\\StartUp")},
                {"Common AppData", dir.Path("All Users\\Application Data")}}),
      system(WithFolders(dir)) {}

}  // namespace tarn::test
