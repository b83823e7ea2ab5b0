#pragma once
// The author's project document as lines, with the places tarnpack reads before it builds: the
// code page its declaration names, task 2412's folder and file lists, and the pieces of an
// author's File value (target,source,kind[,timestamp]).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarnpack {

// A File value's fields, split at every comma (no lead or trail byte of the code pages
// tarnpack reads is a comma).
std::vector<std::string> SplitFields(const std::string& value);

// Lines split at LF, a CR before the LF dropped, the way ProjectTemplate reads them.
std::vector<std::string> SplitDocumentLines(const std::string& text);
// The lines joined again, each followed by CR LF.
std::string JoinDocumentLines(const std::vector<std::string>& lines);

// The code page of the encoding named on the declaration line; GB2312 when it names none.
std::uint32_t DeclaredCodePage(const std::vector<std::string>& lines);
// "GB2312" style name of a code page, for messages.
std::string CodePageName(std::uint32_t codePage);

// The value of "<Name>value</Name>", or nothing for a line of another shape.
std::optional<std::string> FieldLineValue(const std::string& line, const std::string& name);

// Where task 2412's lists lie: indices of the Folder and File lines of its FolderList and
// FileList subtasks (only those lines, in order) and of each subtask's start line.
struct ExtractionLists {
  std::optional<std::size_t> folderListStart;
  std::optional<std::size_t> fileListStart;
  std::vector<std::size_t> folderLines;
  std::vector<std::size_t> fileLines;
};
ExtractionLists FindExtractionLists(const std::vector<std::string>& lines);

struct AuthorFileLine {
  std::string target;
  std::string source;
  char kind = 'A';        // upper case
  std::string timeStamp;  // empty: the source's last-write time
};
// Reads an author's File value; nothing when it is not target,source,kind[,timestamp] with a
// target and a source.
std::optional<AuthorFileLine> ParseAuthorFileValue(const std::string& value);
std::string AuthorFileValue(const AuthorFileLine& line);

// Where the source named in the project lies on this machine: backslashes (whole characters
// only, never a trail byte) become slashes, and a relative source is taken from the project's
// folder.
std::string HostSourcePath(const std::string& projectFolder, const std::string& source,
                           std::uint32_t codePage);

// Whether a source holds a wildcard ("*" or "?" as whole characters).
bool HasWildcard(const std::string& source, std::uint32_t codePage);

}  // namespace tarnpack
