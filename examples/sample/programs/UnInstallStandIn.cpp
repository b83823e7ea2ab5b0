// Tarn-UnInstall.exe stand-in. The real uninstaller is a separate program; the sample package
// carries this one in its place so that an installation has something to register and start.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const char* line = GetCommandLineA();
  std::string text =
      "This is a stand-in for Tarn-UnInstall.exe. The uninstaller is a separate program that "
      "does not come with the Tarn Sample package, so nothing will be removed.\r\n\r\n"
      "Command line:\r\n";
  text += line ? line : "";
  MessageBoxA(nullptr, text.c_str(), "Tarn Uninstall (stand-in)", MB_OK | MB_ICONINFORMATION);
  return 0;
}
