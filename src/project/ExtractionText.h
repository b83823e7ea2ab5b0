#pragma once
// The kept text of the extraction task holds a folder list and a file list, each introduced by
// its subtask start line and followed by one item line per folder or file:
//   <SubTask ID="10001" Type="FolderList">
//   <Folder>[InstallDir]\Data</Folder>
//   ...
//   <SubTask ID="10002" Type="FileList">
//   <File>[InstallDir]\a.txt,462848,20,A,2005-1-2 3:4:5</File>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tarn::project {

struct ListSection {
  // The item lines, without their CR LF, viewing the searched text.
  std::vector<std::string_view> lines;
  // Where the list stopped: the start of the first line that is not an item, or the end.
  std::size_t end = 0;
};

// Finds the first " Type=\"<listType>\">" at or after `from` and collects the lines after that
// one for as long as each contains `itemTag` (case-sensitive, anywhere in the line). False when
// the start line is missing.
bool FindListSection(std::string_view text, std::string_view listType, std::string_view itemTag,
                     std::uint32_t codePage, std::size_t from, ListSection& section);

// The folder list, then the file list after it. False when either is missing.
bool FindExtractionLists(std::string_view text, std::uint32_t codePage, ListSection& folders,
                         ListSection& files);

}  // namespace tarn::project
