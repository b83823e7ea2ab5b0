#include "project/ExtractionText.h"

#include <string>

#include "text/ByteText.h"

namespace tarn::project {

bool FindListSection(std::string_view text, std::string_view listType, std::string_view itemTag,
                     std::uint32_t codePage, std::size_t from, ListSection& section) {
  section = ListSection{};
  const std::string marker = " Type=\"" + std::string(listType) + "\">";
  const std::size_t found = text::FindText(text, marker, codePage, from);
  if (found == text::npos) return false;

  // The items begin on the line after the start line.
  const std::size_t startLineEnd = text.find("\r\n", found + marker.size());
  std::size_t pos = startLineEnd == text::npos ? text.size() : startLineEnd + 2;
  while (pos < text.size()) {
    const std::size_t lineEnd = text.find("\r\n", pos);
    const std::size_t length = (lineEnd == text::npos ? text.size() : lineEnd) - pos;
    const std::string_view line = text.substr(pos, length);
    if (text::FindText(line, itemTag, codePage) == text::npos) break;
    section.lines.push_back(line);
    pos = lineEnd == text::npos ? text.size() : lineEnd + 2;
  }
  section.end = pos;
  return true;
}

bool FindExtractionLists(std::string_view text, std::uint32_t codePage, ListSection& folders,
                         ListSection& files) {
  return FindListSection(text, "FolderList", "<Folder>", codePage, 0, folders) &&
         FindListSection(text, "FileList", "<File>", codePage, folders.end, files);
}

}  // namespace tarn::project
