#pragma once
// Folder and wildcard sources in the author's file list. A File line whose source is a folder
// ("files\Docs") or a pattern ("files\*", "files\**\*.dll") and whose target is a folder stands
// for one entry per matching file, each target mirroring the file's place below the source:
//
//   *    any run of characters within one name        ?   one character
//   **   as a whole name: any number of folders, none included; last, every file below
//   a folder with no wildcard: every file below it, its empty folders included
//
// Names match without regard to ASCII letter case. Entries come in sorted order, so a build is
// the same whatever order the host lists folders in. An explicit line wins over a pattern for
// the same target. The folder list gains every folder the patterns create and is then listed
// deepest first, so that a roll-back removing created folders in list order, each only when
// empty, removes them all.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarnpack {

struct SourceProblem {
  std::size_t line = 0;  // index into the document's lines
  std::string text;
};

struct ProducedEntry {
  std::size_t line = 0;  // the author's line it comes from
  std::string target;
};

struct ExpandedSources {
  std::vector<std::string> lines;  // the document, pattern lines replaced by their entries
  std::vector<SourceProblem> problems;
  std::vector<ProducedEntry> produced;
  bool hasPatterns = false;
};

// Whether `source`, named in the project, is a folder or pattern line rather than one file.
bool IsPatternLine(const std::string& projectFolder, const std::string& source,
                   std::uint32_t codePage);

ExpandedSources ExpandSources(const std::vector<std::string>& lines,
                              const std::string& projectFolder, std::uint32_t codePage);

// Whether `name` matches one name of a pattern ("*" and "?"), ASCII letters in any case.
bool MatchesName(const std::string& pattern, const std::string& name, std::uint32_t codePage);

}  // namespace tarnpack
