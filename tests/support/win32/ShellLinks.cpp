#include "support/win32/ShellLinks.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include "platform/win32/Win32Toolkit.h"
#include "support/win32/FilesOnDisk.h"

namespace tarn::test {

using platform::ComPtr;

std::ostream& operator<<(std::ostream& out, const LinkFields& l) {
  return out << "{path " << l.path << ", args " << l.arguments << ", dir " << l.workingFolder
             << ", desc " << l.description << ", icon " << l.iconFile << "," << l.iconIndex << "}";
}

std::optional<LinkFields> ReadLink(const std::string& path) {
  if (!IsFile(path)) return std::nullopt;
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.OutVoid())))
    return std::nullopt;
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.OutVoid()))) return std::nullopt;
  std::wstring wide(path.size() + 1, L'\0');
  const int count =
      MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  if (count <= 0 || FAILED(file->Load(wide.c_str(), STGM_READ))) return std::nullopt;
  LinkFields fields;
  char buffer[MAX_PATH * 2] = {};
  if (SUCCEEDED(link->GetPath(buffer, sizeof buffer, nullptr, SLGP_RAWPATH))) fields.path = buffer;
  buffer[0] = '\0';
  if (SUCCEEDED(link->GetArguments(buffer, sizeof buffer))) fields.arguments = buffer;
  buffer[0] = '\0';
  if (SUCCEEDED(link->GetWorkingDirectory(buffer, sizeof buffer))) fields.workingFolder = buffer;
  buffer[0] = '\0';
  if (SUCCEEDED(link->GetDescription(buffer, sizeof buffer))) fields.description = buffer;
  buffer[0] = '\0';
  if (SUCCEEDED(link->GetIconLocation(buffer, sizeof buffer, &fields.iconIndex)))
    fields.iconFile = buffer;
  return fields;
}

}  // namespace tarn::test
