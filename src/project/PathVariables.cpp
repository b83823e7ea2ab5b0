#include "project/PathVariables.h"

#include "project/OsClass.h"
#include "text/ByteText.h"
#include "text/PathParts.h"

namespace tarn::project {

namespace {

constexpr const char* kTokens[] = {
    "[Program Files]",     "[InstallDir]",         "[Windows Directory]", "[System Directory]",
    "[Desktop Directory]", "[Absolute Directory]", "[TempFileDir]",       "[Start Menu]",
    "[Startup]",           "[QuickLaunch]",
};
constexpr std::int32_t kTokenCount = 10;

// The order tokens are tried in; the builder's own lookup has always checked 6 before 5.
constexpr std::int32_t kLookupOrder[] = {0, 1, 2, 3, 4, 6, 5, 7, 8, 9};

constexpr const char* kShellFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

}  // namespace

std::string ShellFolder(platform::Registry& registry, const std::string& name) {
  auto root = registry.Root(platform::RootKey::LocalMachine);
  if (!root) return {};
  auto key = root->OpenSubKey(kShellFolders, platform::RegistryAccess::Read);
  if (!key) return {};
  auto value = key->QueryValue(name);
  if (!value) return {};
  const std::size_t zero = value->data.find('\0');
  return zero == std::string::npos ? value->data : value->data.substr(0, zero);
}

namespace {

std::string StartMenuFolder(const PathContext& context) {
  const OsClass os = GetOsClass(context.system);
  if (os == OsClass::Windows98 || os == OsClass::WindowsMe)
    return context.system.WindowsDirectory() + "\\Start Menu\\Programs";
  return ShellFolder(context.registry, "Common Programs");
}

}  // namespace

std::string PathVariableToken(std::int32_t index) {
  if (index < 0 || index >= kTokenCount) return "[]";
  return kTokens[index];
}

std::int32_t PathVariableIndexOf(std::string_view token) {
  for (std::int32_t index : kLookupOrder) {
    if (text::EqualsIgnoreAsciiCase(token, kTokens[index])) return index;
  }
  return static_cast<std::int32_t>(PathVariable::None);
}

std::string ExpandPath(const std::string& path, const PathContext& context) {
  if (path.empty() || path[0] != '[') return path;
  const std::uint32_t codePage = context.system.AnsiCodePage();
  const std::size_t close = text::FindChar(path, ']', codePage);
  if (close == text::npos) return path;
  const std::string token = path.substr(0, close + 1);
  const std::string rest = path.substr(close + 1);

  switch (static_cast<PathVariable>(PathVariableIndexOf(token))) {
    case PathVariable::ProgramFiles: {
      // Program files live on the drive of the Windows folder, whatever the registry says.
      std::string folder = "C:\\Program Files";
      const std::string windows = context.system.WindowsDirectory();
      if (!windows.empty()) folder[0] = windows[0];
      return folder + rest;
    }
    case PathVariable::InstallDir: {
      // A drive root is kept as "C:\"; drop its backslash so "\bin" does not double it.
      std::string result =
          context.installDir.size() == 3 ? context.installDir.substr(0, 2) : context.installDir;
      result += rest;
      if (result.size() < 3) result += '\\';
      return result;
    }
    case PathVariable::WindowsDirectory:
      return context.system.WindowsDirectory() + rest;
    case PathVariable::SystemDirectory:
      return context.system.SystemDirectory() + rest;
    case PathVariable::DesktopDirectory: {
      const auto desktop = context.system.DesktopDirectory();
      return desktop ? *desktop + rest : path;
    }
    case PathVariable::AbsoluteDirectory:
      return rest;
    case PathVariable::TempFileDir: {
      std::string temp = context.system.TempPath();
      if (text::EndsWithBackslash(temp, codePage)) temp.pop_back();
      return temp + rest;
    }
    case PathVariable::StartMenu:
      return StartMenuFolder(context) + rest;
    case PathVariable::Startup: {
      // Only the (localised) name of the startup folder is taken from the system; the folder
      // itself always goes inside the start menu folder that "[Start Menu]" gives.
      const std::string startup = ShellFolder(context.registry, "Common Startup");
      const std::string name = text::FileNameOf(startup, codePage);
      return ExpandPath(PathVariableToken(static_cast<std::int32_t>(PathVariable::StartMenu)) +
                            "\\" + name + rest,
                        context);
    }
    case PathVariable::QuickLaunch:
    case PathVariable::None:
      break;
  }
  return path;
}

std::string ExpandAllPaths(const std::string& text, const PathContext& context) {
  const std::uint32_t codePage = context.system.AnsiCodePage();
  const std::size_t first = text::FindChar(text, '[', codePage);
  if (first == text::npos) return text;
  std::string output = text.substr(0, first);
  std::string rest = text.substr(first);
  for (;;) {
    rest = ExpandPath(rest, context);
    const std::size_t open = text::FindChar(rest, '[', codePage);
    if (open == text::npos) break;
    if (open == 0) {
      // The token at the front stayed as it was: keep its "[" and look further on.
      output += '[';
      rest.erase(0, 1);
    } else {
      output.append(rest, 0, open);
      rest.erase(0, open);
    }
  }
  return output + rest;
}

package::PathExpander MakePathExpander(const PathContext& context) {
  return [context](const std::string& path) { return ExpandPath(path, context); };
}

}  // namespace tarn::project
