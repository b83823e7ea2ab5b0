#include "project/DocumentReader.h"

#include <string>
#include <vector>

#include "project/FieldLine.h"
#include "text/ByteText.h"

namespace tarn::project {
namespace {

using Lines = std::vector<std::string>;

// A start line is recognised by the text before its first space alone, so the tag name is
// matched in any case and the attributes are left to the block reader.
bool IsStartLine(std::string_view line, std::string_view tag, std::uint32_t codePage) {
  const std::size_t space = text::FindChar(line, ' ', codePage);
  return space != text::npos && text::EqualsIgnoreAsciiCase(line.substr(0, space), tag);
}

// Index just past the character at `pos`; the text's size when `pos` is at or past the end.
std::size_t SkipChar(std::string_view line, std::size_t pos, std::uint32_t codePage) {
  if (pos >= line.size()) return line.size();
  if (pos + 1 < line.size() && text::IsLeadByte(static_cast<unsigned char>(line[pos]), codePage))
    return pos + 2;
  return pos + 1;
}

// Calls `read(first, last)` for each block of lines [begin, end) that runs from a start line to
// its end line (both included). A start line drops a block still open; an end line outside a
// block is ignored.
template <typename ReadBlock>
void ForEachBlock(const Lines& lines, std::size_t begin, std::size_t end, std::string_view startTag,
                  std::string_view endTag, std::uint32_t codePage, ReadBlock read) {
  // No block is open while `open` is `end`.
  std::size_t open = end;
  for (std::size_t i = begin; i < end; ++i) {
    if (IsStartLine(lines[i], startTag, codePage)) {
      open = i;
    } else if (open != end && text::EqualsIgnoreAsciiCase(lines[i], endTag)) {
      read(open, i);
      open = end;
    }
  }
}

// Reads lines [first, last] of `lines` as one subtask block.
SubTask ReadSubTask(const Lines& lines, std::size_t first, std::size_t last,
                    std::uint32_t codePage) {
  const std::string_view start = lines[first];
  if (!IsStartLine(start, "<SUBTASK", codePage)) return SubTask();
  const std::size_t idOpen = text::FindChar(start, '"', codePage);
  if (idOpen == text::npos) return SubTask();
  const std::size_t idClose = text::FindChar(start, '"', codePage, idOpen + 1);
  if (idClose == text::npos) return SubTask();
  std::string id(start.substr(idOpen + 1, idClose - idOpen - 1));

  const std::size_t equals = text::FindChar(start, '=', codePage, idOpen + 1);
  if (equals == text::npos) return SubTask(std::move(id), SubTaskType::InvalidType);
  // The type runs from after the opening quote to before the closing quote and ">".
  const std::size_t typeStart = SkipChar(start, equals + 1, codePage);
  const std::size_t typeEnd = start.size() >= 2 ? start.size() - 2 : 0;
  const std::string_view typeName =
      typeStart < typeEnd ? start.substr(typeStart, typeEnd - typeStart) : std::string_view();
  SubTask subTask(std::move(id), SubTaskTypeOf(typeName));

  // The last line is the end line and is not a field.
  for (std::size_t i = first + 1; i < last; ++i)
    subTask.AddField(ParseFieldLine(lines[i], codePage));
  return subTask;
}

// Reads lines [first, last] of `lines` as one task block.
Task ReadTask(const Lines& lines, std::size_t first, std::size_t last, std::uint32_t codePage) {
  const std::string_view start = lines[first];
  if (!IsStartLine(start, "<TASK", codePage)) return Task();
  const std::size_t idOpen = text::FindChar(start, '"', codePage);
  if (idOpen == text::npos) return Task();
  const std::size_t idClose = text::FindChar(start, '"', codePage, idOpen + 1);
  if (idClose == text::npos) return Task();
  std::string id(start.substr(idOpen + 1, idClose - idOpen - 1));

  const std::size_t typeEquals = text::FindChar(start, '=', codePage, idClose + 1);
  if (typeEquals == text::npos) return Task(std::move(id), TaskType::InvalidType, false);
  const std::size_t typeStart = SkipChar(start, typeEquals + 1, codePage);
  const std::size_t typeClose = text::FindChar(start, '"', codePage, typeStart);
  if (typeClose == text::npos) return Task(std::move(id), TaskType::InvalidType, false);
  const TaskType type = TaskTypeOf(start.substr(typeStart, typeClose - typeStart));

  const std::size_t execEquals = text::FindChar(start, '=', codePage, typeClose + 1);
  if (execEquals == text::npos) return Task(std::move(id), type, false);
  // The flag is the rest of the line less its closing quote and ">".
  const std::size_t execStart = SkipChar(start, execEquals + 1, codePage);
  const std::size_t execEnd = start.size() >= 2 ? start.size() - 2 : 0;
  const bool isExec = execStart < execEnd && start.substr(execStart, execEnd - execStart) == "1";
  Task task(std::move(id), type, isExec);

  // The last line is the end line and is not examined.
  if (last - first + 1 >= 3) {
    ForEachBlock(lines, first + 1, last, "<SUBTASK", "</SUBTASK>", codePage,
                 [&](std::size_t blockFirst, std::size_t blockLast) {
                   task.AddSubTask(ReadSubTask(lines, blockFirst, blockLast, codePage));
                 });
  }
  return task;
}

}  // namespace

SubTask ParseSubTask(std::string_view block, std::uint32_t codePage) {
  const Lines lines = text::SplitCrLfLines(block);
  if (lines.empty()) return SubTask();
  return ReadSubTask(lines, 0, lines.size() - 1, codePage);
}

Task ParseTask(std::string_view block, std::uint32_t codePage) {
  const Lines lines = text::SplitCrLfLines(block);
  if (lines.empty()) return Task();
  return ReadTask(lines, 0, lines.size() - 1, codePage);
}

void ParseDocument(std::string_view document, std::uint32_t codePage, InstallProject& project) {
  // The declaration, the root element and the version line come first; the root's end line
  // comes last. None of them is read.
  constexpr std::size_t kHeaderLines = 3;
  const Lines lines = text::SplitCrLfLines(document);
  if (lines.size() > kHeaderLines + 1) {
    ForEachBlock(lines, kHeaderLines, lines.size() - 1, "<TASK", "</TASK>", codePage,
                 [&](std::size_t first, std::size_t last) {
                   project.AddTask(ReadTask(lines, first, last, codePage));
                 });
  }
  project.Cursor().MoveToFirst();
}

}  // namespace tarn::project
