#pragma once
// Folder tokens at the start of project paths ("[InstallDir]\data", "[Windows Directory]\Fonts")
// and their expansion on the running system. Tokens match without regard to ASCII letter case.

#include <cstdint>
#include <string>
#include <string_view>

#include "package/PackageEntry.h"
#include "platform/Registry.h"
#include "platform/SystemFacts.h"

namespace tarn::project {

enum class PathVariable : std::int32_t {
  ProgramFiles = 0,
  InstallDir = 1,
  WindowsDirectory = 2,
  SystemDirectory = 3,
  DesktopDirectory = 4,
  AbsoluteDirectory = 5,
  TempFileDir = 6,
  StartMenu = 7,
  Startup = 8,
  QuickLaunch = 9,
  None = 10,  // any other bracketed text
};

// "[" + name + "]" for the indices 0 to 9, "[]" for any other index.
std::string PathVariableToken(std::int32_t index);
// Index of a token, compared without regard to ASCII case; 10 when it is none of them.
std::int32_t PathVariableIndexOf(std::string_view token);

// What an expansion needs from its surroundings. The session owns the installation folder and
// keeps this context alive as long as expansions run.
struct PathContext {
  // The current installation folder behind "[InstallDir]": a full path, a drive root as "C:\".
  const std::string& installDir;
  platform::SystemFacts& system;
  platform::Registry& registry;
};

// Expands a token at the very start of `path`; every other path comes back unchanged, as do
// "[QuickLaunch]", unknown tokens and a "[" without "]". The system is asked afresh each time.
std::string ExpandPath(const std::string& path, const PathContext& context);

// A string value of the system's shell folders key ("Common AppData", "Common Programs", ...),
// read-only so that users without administrator rights can read it too; "" when it is missing.
std::string ShellFolder(platform::Registry& registry, const std::string& name);
// Expands tokens anywhere in `text`, left to right; unknown bracketed text stays as it is.
std::string ExpandAllPaths(const std::string& text, const PathContext& context);

// ExpandPath bound to a context, for the entry parser and other callers taking a function.
package::PathExpander MakePathExpander(const PathContext& context);

}  // namespace tarn::project
