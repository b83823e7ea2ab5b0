#include "ShellLinks.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include "Output.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Toolkit.h"

namespace tarn::driver {

ExitCode PrintShellLink(const std::string& path) {
  platform::Win32Shell shell;
  const auto com = shell.EnterThread();
  platform::ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.OutVoid())))
    return Fail("no shell link object");
  platform::ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.OutVoid())))
    return Fail("the shell link cannot be loaded from a file");
  const int size = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 1), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], size);
  if (FAILED(file->Load(wide.c_str(), STGM_READ))) return Fail("cannot load " + path);
  char target[MAX_PATH] = {};
  char arguments[1024] = {};
  char folder[MAX_PATH] = {};
  link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
  link->GetArguments(arguments, sizeof arguments);
  link->GetWorkingDirectory(folder, MAX_PATH);
  WriteOut(std::string(target) + "\n" + arguments + "\n" + folder + "\n");
  return kOk;
}

}  // namespace tarn::driver
