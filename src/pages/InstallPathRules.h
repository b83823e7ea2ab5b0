#pragma once
// What the install path page computes without asking the system: the size line's number, the
// product's relative folder and the path composed from a chosen folder, the drives it lists.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/LanguageTable.h"

namespace tarn::pages {

// Longest starting path (and so relative folder) the page works with.
constexpr std::size_t kMaxStartingPathLength = 1023;

// A megabyte figure as the C runtime's general format writes it with 16 significant digits
// (the decimal point always kept: "1."), cut after at most two decimals: 6.2611... → "6.26".
std::string FormatMegabytes(double megabytes);
// "<desc1> <number> MB <desc2>" for a program of `bytes` bytes.
std::string SoftwareSizeLine(const project::LanguageTable& texts, std::int64_t bytes);

// The part of the starting path that the page keeps when the user picks another place.
struct RelativeFolder {
  std::string folder;
  // The starting path lies in the Program Files folder.
  bool underProgramFiles = false;
};

// Splits the starting path: what follows the Program Files folder when the path lies in it,
// otherwise what follows the drive root. A path longer than kMaxStartingPathLength keeps
// nothing, so the page then offers the chosen folder itself.
RelativeFolder SplitStartingPath(std::string_view startingPath, std::string_view programFiles);

// The destination for a folder chosen in the tree (a drive root is given as "E:"): the chosen
// folder and the relative folder, or, for a drive root when the product lives in Program
// Files, that folder moved to the chosen drive. Nothing for an empty choice.
std::optional<std::string> ComposeInstallPath(std::string_view chosenFolder,
                                              const RelativeFolder& relative,
                                              std::string_view programFiles);

// Drive kinds as the system reports them.
enum class DriveKind : std::uint32_t {
  Unknown = 0,
  NoRootDirectory = 1,
  Removable = 2,
  Fixed = 3,
  Remote = 4,
  CdRom = 5,
  RamDisk = 6,
};

// Hard and removable drives are offered, never drive A.
bool IsOfferedDrive(std::string_view root, DriveKind kind);
// Whole megabytes of a byte count, truncated.
constexpr std::uint64_t FreeMegabytes(std::uint64_t bytes) { return bytes >> 20; }
// "<desc1>X<desc2> <n> MB <desc3>"; without the figure when the free space is unknown.
std::string DriveLine(const project::LanguageTable& texts, char letter,
                      std::optional<std::uint64_t> freeBytes);

// The strings of a list of zero-terminated strings ended by an empty one ("C:\\\0D:\\\0\0").
std::vector<std::string> SplitZeroList(std::string_view list);

}  // namespace tarn::pages
