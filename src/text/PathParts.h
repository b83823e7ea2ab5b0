#pragma once
// The parts of a Windows path as bytes, split at its last backslash: a whole character, never
// the trail byte of a double-byte character.

#include <cstdint>
#include <string>
#include <string_view>

namespace tarn::text {

// Whether the last character of `path` is a backslash (not a trail byte that looks like one).
bool EndsWithBackslash(std::string_view path, std::uint32_t codePage);
// "C:\a\b.txt" gives "C:\a\"; a path without a backslash gives "".
std::string FolderWithBackslash(std::string_view path, std::uint32_t codePage);
// "C:\a\b.txt" gives "b.txt"; a path without a backslash is a name already.
std::string FileNameOf(std::string_view path, std::uint32_t codePage);
// The folder of `path` without its final backslash, unless that would leave fewer than
// `shortestBare` characters: "C:" alone would mean the drive's current folder, not its root.
// A path without a backslash gives "".
std::string FolderOf(std::string_view path, std::uint32_t codePage, std::size_t shortestBare);

// The folder a program runs from: "C:\x.exe" runs from "C:\".
inline std::string ProgramFolderOf(std::string_view path, std::uint32_t codePage) {
  return FolderOf(path, codePage, 3);
}
// A shortcut's working folder keeps its backslash while it has three characters or fewer.
inline std::string LinkFolderOf(std::string_view path, std::uint32_t codePage) {
  return FolderOf(path, codePage, 4);
}

}  // namespace tarn::text
