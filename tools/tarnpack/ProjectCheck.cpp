#include "tarnpack/ProjectCheck.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

#include "project/NameTables.h"
#include "project/PathVariables.h"
#include "tarnpack/AuthorDocument.h"
#include "tarnpack/HostFolders.h"
#include "tarnpack/PatternSources.h"
#include "text/ByteText.h"

namespace tarnpack {

namespace {

using tarn::text::kCodePageBig5;
using tarn::text::kCodePageGbk;
using tarn::text::kCodePageShiftJis;
using tarn::text::kCodePageUhc;

// The setup program copies paths into 500-byte buffers.
constexpr std::size_t kLongestPath = 499;

bool StartsWith(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

bool InRange(unsigned char b, unsigned lo, unsigned hi) { return b >= lo && b <= hi; }

// Length of the valid character at `i`, or 0 when the bytes there are not one.
std::size_t ValidCharLength(const std::string& s, std::size_t i, std::uint32_t codePage) {
  const auto b = static_cast<unsigned char>(s[i]);
  if (b < 0x80) return b < 0x20 && b != '\t' ? 0 : 1;
  const bool hasTrail = i + 1 < s.size();
  const auto t = hasTrail ? static_cast<unsigned char>(s[i + 1]) : 0;
  switch (codePage) {
    case kCodePageGbk:
      if (!InRange(b, 0x81, 0xFE)) return 0;
      return hasTrail && InRange(t, 0x40, 0xFE) && t != 0x7F ? 2 : 0;
    case kCodePageBig5:
      if (!InRange(b, 0x81, 0xFE)) return 0;
      return hasTrail && (InRange(t, 0x40, 0x7E) || InRange(t, 0xA1, 0xFE)) ? 2 : 0;
    case kCodePageShiftJis:
      if (InRange(b, 0xA1, 0xDF)) return 1;
      if (!InRange(b, 0x81, 0x9F) && !InRange(b, 0xE0, 0xFC)) return 0;
      return hasTrail && (InRange(t, 0x40, 0x7E) || InRange(t, 0x80, 0xFC)) ? 2 : 0;
    case kCodePageUhc:
      if (!InRange(b, 0x81, 0xFE)) return 0;
      return hasTrail &&
                     (InRange(t, 0x41, 0x5A) || InRange(t, 0x61, 0x7A) || InRange(t, 0x81, 0xFE))
                 ? 2
                 : 0;
    default:  // the single-byte page of western systems leaves five bytes undefined
      return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D ? 0 : 1;
  }
}

std::optional<std::size_t> InvalidTextAt(const std::string& line, std::uint32_t codePage) {
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t n = ValidCharLength(line, i, codePage);
    if (n == 0) return i;
    i += n;
  }
  return std::nullopt;
}

std::string Hex(unsigned char b) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%02X", b);
  return buf;
}

bool StartsWithToken(const std::string& path, std::uint32_t codePage) {
  if (path.empty() || path[0] != '[') return false;
  const std::size_t close = tarn::text::FindChar(path, ']', codePage);
  if (close == tarn::text::npos) return false;
  const auto index = tarn::project::PathVariableIndexOf(path.substr(0, close + 1));
  return index >= 0 && index <= static_cast<std::int32_t>(tarn::project::PathVariable::Startup);
}

bool ValidTimeStamp(const std::string& text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  char end = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d%c", &y, &mo, &d, &h, &mi, &s, &end) != 6)
    return false;
  static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return y >= 1601 && y <= 9999 && mo >= 1 && mo <= 12 && d >= 1 && d <= kDays[mo - 1] && h >= 0 &&
         h <= 23 && mi >= 0 && mi <= 59 && s >= 0 && s <= 59;
}

std::string TooLong(const std::string& what, const std::string& path) {
  return what + " is " + std::to_string(path.size()) +
         " characters long; the setup program refuses paths of 500 characters or more";
}

class Checker {
 public:
  Checker(const std::string& text, const std::string& projectFolder)
      : lines_(SplitDocumentLines(text)),
        codePage_(DeclaredCodePage(lines_)),
        projectFolder_(projectFolder) {}

  std::vector<Problem> Run() {
    CheckLines();
    CheckLists();
    std::stable_sort(problems_.begin(), problems_.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    return problems_;
  }

 private:
  void Add(std::size_t index, const std::string& text) { problems_.push_back({index + 1, text}); }
  void AddWhole(const std::string& text) { problems_.push_back({0, text}); }

  // The task and subtask blocks, their names and the plain field lines.
  void CheckLines() {
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t openTask = kNone;  // the start line of the open task
    std::string task, subTaskType;
    bool inSubTask = false, seenExtraction = false, seenDiskSize = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      const std::string& line = lines_[i];
      if (line.find('\r') != std::string::npos) Add(i, "a carriage return inside a line");
      if (line.find('\0') != std::string::npos) Add(i, "a zero byte inside a line");
      if (const auto at = InvalidTextAt(line, codePage_); at && line[*at] != '\r' && line[*at])
        Add(i, "the text is not valid " + CodePageName(codePage_) + ": byte " +
                   Hex(static_cast<unsigned char>(line[*at])) + " at column " +
                   std::to_string(*at + 1));
      if (i < 3) continue;  // declaration, document element and version are not read
      const std::string head = tarn::text::AsciiUpper(line.substr(0, line.find(' ')));
      if (head == "<TASK") {
        if (openTask != kNone) Add(openTask, "the task that starts here has no </Task> line");
        if (seenExtraction) Add(i, "task 2412 must be the last task");
        openTask = i;
        inSubTask = false;
        task = TaskStart(i, line);
        seenExtraction = seenExtraction || task == "2412";
      } else if (tarn::text::AsciiUpper(line) == "</TASK>") {
        openTask = kNone;
        task.clear();
      } else if (head == "<SUBTASK") {
        if (openTask == kNone) continue;
        subTaskType = SubTaskStart(i, line);
        inSubTask = true;
      } else if (tarn::text::AsciiUpper(line) == "</SUBTASK>") {
        inSubTask = false;
      } else if (openTask != kNone && inSubTask && task != "2412") {
        CheckFieldLine(i, line);
        if (task == "2401" && subTaskType == "GetAllVar") {
          if (const auto path = FieldLineValue(line, "InstallPath");
              path && !StartsWithToken(*path, codePage_))
            Add(i, "the install path " + *path +
                       " does not start with a path token such as [Program Files]");
          seenDiskSize = seenDiskSize || FieldLineValue(line, "DiskSize").has_value();
        }
      }
    }
    if (openTask != kNone) Add(openTask, "the task that starts here has no </Task> line");
    if (!seenExtraction) AddWhole("the document has no task 2412 with the file list");
    if (!seenDiskSize) AddWhole("task 2401 has no <DiskSize> line in its GetAllVar subtask");
  }

  // The task's ID, after reporting what the setup program would not know in its start line.
  std::string TaskStart(std::size_t i, const std::string& line) {
    const std::string shape =
        "a task start line reads <Task ID=\"...\" Type=\"...\" IsExec=\"...\">";
    if (!StartsWith(line, "<Task ID=\"")) return Add(i, shape), "";
    const std::size_t idEnd = line.find('"', 10);
    const std::size_t typeAt = idEnd == std::string::npos ? idEnd : line.find("\" Type=\"", idEnd);
    const std::size_t typeEnd = typeAt == std::string::npos ? typeAt : line.find('"', typeAt + 8);
    if (idEnd == std::string::npos || typeAt != idEnd || typeEnd == std::string::npos ||
        line.compare(typeEnd, 10, "\" IsExec=\"") != 0 || line.size() < typeEnd + 12 ||
        line.compare(line.size() - 2, 2, "\">") != 0)
      return Add(i, shape), "";
    const std::string id = line.substr(10, idEnd - 10);
    const std::string type = line.substr(typeAt + 8, typeEnd - typeAt - 8);
    const std::string exec = line.substr(typeEnd + 10, line.size() - typeEnd - 12);
    // 2414 is written by the builder and ignored by the setup program.
    if (tarn::project::TaskIndexOf(id) == 22 && id != "2414")
      Add(i, "the setup program knows no task " + id);
    if (tarn::project::TaskTypeOf(type) == tarn::project::TaskType::InvalidType)
      Add(i, "the setup program knows no task type \"" + type + "\"");
    if (exec != "0" && exec != "1") Add(i, "IsExec must be \"0\" or \"1\", not \"" + exec + "\"");
    return id;
  }

  std::string SubTaskStart(std::size_t i, const std::string& line) {
    const std::size_t idEnd = line.find('"', 13);
    const std::size_t typeAt = idEnd == std::string::npos ? idEnd : line.find("\" Type=\"", idEnd);
    if (!StartsWith(line, "<SubTask ID=\"") || typeAt != idEnd || line.size() < typeAt + 10 ||
        line.compare(line.size() - 2, 2, "\">") != 0) {
      Add(i, "a subtask start line reads <SubTask ID=\"...\" Type=\"...\">");
      return "";
    }
    const std::string type = line.substr(typeAt + 8, line.size() - typeAt - 10);
    if (tarn::project::SubTaskTypeOf(type) == tarn::project::SubTaskType::InvalidType)
      Add(i, "the setup program knows no subtask type \"" + type + "\"");
    return type;
  }

  void CheckFieldLine(std::size_t i, const std::string& line) {
    const std::size_t gt = line.find('>');
    if (line.empty() || line[0] != '<' || gt == std::string::npos || gt < 2) {
      Add(i, "expected a field line <Name>value</Name>");
      return;
    }
    const std::string name = line.substr(1, gt - 1);
    const auto value = FieldLineValue(line, name);
    if (!value) {
      Add(i, "expected a field line <Name>value</Name>");
      return;
    }
    if (value->find('<') != std::string::npos) Add(i, "a value cannot contain \"<\"");
  }

  void CheckLists() {
    const ExtractionLists lists = FindExtractionLists(lines_);
    for (const std::size_t i : lists.folderLines) {
      const auto folder = FieldLineValue(lines_[i], "Folder");
      if (!folder) {
        Add(i, "expected a <Folder>...</Folder> line");
      } else if (folder->find('<') != std::string::npos) {
        Add(i, "a Folder value cannot contain \"<\"");
      } else if (!StartsWithToken(*folder, codePage_)) {
        Add(i, "the folder " + *folder + " does not start with a path token such as [InstallDir]");
      } else if (folder->size() > kLongestPath) {
        Add(i, TooLong("the folder", *folder));
      }
    }

    std::map<std::string, std::size_t> targets;  // upper-cased explicit target -> line
    bool first = true, othersStarted = false;
    for (const std::size_t i : lists.fileLines) {
      const auto value = FieldLineValue(lines_[i], "File");
      if (!value) {
        Add(i, "expected a <File>...</File> line");
        continue;
      }
      if (value->find('<') != std::string::npos) {
        Add(i, "a File value cannot contain \"<\"");
        continue;
      }
      const auto e = ParseAuthorFileValue(*value);
      if (!e) {
        Add(i, "expected target,source,kind[,timestamp]");
        continue;
      }
      if (first && e->kind != 'K') Add(i, "the first file must be the language file, of kind K");
      if (e->kind != 'K') othersStarted = true;
      if (e->kind == 'K' && othersStarted) Add(i, "files of kind K must come before all others");
      first = false;
      if (!e->timeStamp.empty() && !ValidTimeStamp(e->timeStamp))
        Add(i, "the time stamp " + e->timeStamp +
                   " is not a date and time such as 2005-1-23 20:20:58");
      if (!StartsWithToken(e->target, codePage_))
        Add(i,
            "the target " + e->target + " does not start with a path token such as [InstallDir]");
      if (IsPatternLine(projectFolder_, e->source, codePage_)) continue;
      if (e->target.size() > kLongestPath) Add(i, TooLong("the target", e->target));
      std::string host = HostSourcePath(projectFolder_, e->source, codePage_);
      if (!IsFile(host)) Add(i, "the source file " + e->source + " is missing");
      const auto [at, fresh] = targets.insert({tarn::text::AsciiUpper(e->target), i});
      if (!fresh)
        Add(i, "the target " + e->target + " is also the target of line " +
                   std::to_string(at->second + 1));
    }
    if (lists.fileLines.empty()) AddWhole("the file list is empty");

    const ExpandedSources expanded = ExpandSources(lines_, projectFolder_, codePage_);
    for (const auto& p : expanded.problems) Add(p.line, p.text);
    for (const auto& p : expanded.produced) {
      if (p.target.size() > kLongestPath) Add(p.line, TooLong("the target " + p.target, p.target));
    }
  }

  std::vector<std::string> lines_;
  std::uint32_t codePage_;
  std::string projectFolder_;
  std::vector<Problem> problems_;
};

}  // namespace

std::vector<Problem> CheckProject(const std::string& documentText,
                                  const std::string& projectFolder) {
  return Checker(documentText, projectFolder).Run();
}

std::string FormatProblem(const std::string& projectPath, const Problem& problem) {
  return projectPath + ": " +
         (problem.line ? "line " + std::to_string(problem.line) + ": " : std::string()) +
         problem.text;
}

}  // namespace tarnpack
