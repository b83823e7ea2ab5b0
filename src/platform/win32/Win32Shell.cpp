#include "platform/win32/Win32Shell.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "platform/win32/InterfaceIds.h"
#include "platform/win32/Win32Toolkit.h"

namespace tarn::platform {

namespace {

// A vector, not a std::wstring: the wide string's library code would come along with it.
std::vector<wchar_t> Widen(const std::string& text) {
  const int count = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (count <= 0) return {L'\0'};
  std::vector<wchar_t> wide(static_cast<std::size_t>(count), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), count);
  return wide;
}

}  // namespace

bool Win32Shell::CreateShellLink(const ShellLink& link, const std::string& linkPath) {
  const ComScope com;
  if (!com) return false;
  ComPtr<IShellLinkA> shellLink;
  if (FAILED(CoCreateInstance(win32::kShellLinkClassId, nullptr, CLSCTX_INPROC_SERVER,
                              win32::kShellLinkAId, shellLink.OutVoid())))
    return false;
  if (!link.arguments.empty()) shellLink->SetArguments(link.arguments.c_str());
  shellLink->SetPath(link.target.c_str());
  shellLink->SetWorkingDirectory(link.workingDirectory.c_str());
  shellLink->SetDescription(link.description.c_str());
  shellLink->SetShowCmd(link.showCommand);
  if (!link.iconFile.empty()) shellLink->SetIconLocation(link.iconFile.c_str(), link.iconIndex);
  ComPtr<IPersistFile> file;
  if (FAILED(shellLink->QueryInterface(win32::kPersistFileId, file.OutVoid()))) return false;
  return SUCCEEDED(file->Save(Widen(linkPath).data(), TRUE));
}

bool Win32Shell::OpenDocument(const std::string& file, const std::string& parameters,
                              const std::string& directory, std::int32_t showCommand) {
  const HINSTANCE result = ShellExecuteA(
      nullptr, nullptr, file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
      directory.empty() ? nullptr : directory.c_str(), showCommand);
  // Values above 32 mean success.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Win32Shell::StartProgram(const std::string& commandLine, std::int32_t showCommand) {
  return WinExec(commandLine.c_str(), static_cast<UINT>(showCommand)) > 31;
}

std::optional<std::uint32_t> Win32Shell::RunAndWait(const std::string& commandLine,
                                                    std::int32_t showCommand) {
  // The command line buffer must be writable.
  std::vector<char> command(commandLine.begin(), commandLine.end());
  command.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS,
                      nullptr, nullptr, &startup, &info))
    return std::nullopt;
  KernelHandle process(info.hProcess);
  KernelHandle thread(info.hThread);
  WaitForSingleObject(process.Get(), INFINITE);
  DWORD code = 0;
  if (!GetExitCodeProcess(process.Get(), &code)) return std::nullopt;
  return code;
}

void Win32Shell::ShowMessage(const std::string& text, const std::string& caption) {
  MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK);
}

bool Win32Shell::AddFont(const std::string& path) { return AddFontResourceA(path.c_str()) > 0; }

void Win32Shell::AnnounceFontChange() {
  // Queued for windows of other threads: a hung program cannot hold the installation up.
  SendNotifyMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
}

namespace {

class ComThreadScope : public ThreadScope {
 public:
  ComScope com;
};

}  // namespace

std::unique_ptr<ThreadScope> Win32Shell::EnterThread() {
  return std::make_unique<ComThreadScope>();
}

bool Win32Shell::RestartComputer() {
  HANDLE rawToken = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken)) {
    KernelHandle token(rawToken);
    TOKEN_PRIVILEGES privileges{};
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
      privileges.PrivilegeCount = 1;
      privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
      AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
    }
  }
  return ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0) != FALSE;
}

std::uint32_t Win32Shell::CurrentProcessId() { return GetCurrentProcessId(); }

bool Win32Shell::IsProcessRunning(std::uint32_t processId) {
  KernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId));
  if (!process.Get()) {
    // A process we may not look at is someone else's and certainly running.
    return GetLastError() == ERROR_ACCESS_DENIED;
  }
  return WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

}  // namespace tarn::platform
