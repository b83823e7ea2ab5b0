#include "tarnpack/AuthorDocument.h"

#include <cctype>

#include "text/ByteText.h"

namespace tarnpack {

namespace {

bool StartsWith(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

std::string SubTaskTypeOf(const std::string& line) {
  const std::size_t t = line.find(" Type=\"");
  if (t == std::string::npos || line.size() < t + 9) return "";
  return line.substr(t + 7, line.size() - t - 9);
}

}  // namespace

std::vector<std::string> SplitFields(const std::string& value) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = value.find(',', start);
    fields.push_back(value.substr(start, comma - start));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

std::vector<std::string> SplitDocumentLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::string JoinDocumentLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) out += line + "\r\n";
  return out;
}

std::uint32_t DeclaredCodePage(const std::vector<std::string>& lines) {
  if (lines.empty()) return tarn::text::kCodePageGbk;
  const std::string first = tarn::text::AsciiUpper(lines.front());
  const std::size_t at = first.find("ENCODING=\"");
  if (at == std::string::npos) return tarn::text::kCodePageGbk;
  const std::size_t end = first.find('"', at + 10);
  const std::string name = first.substr(at + 10, end - at - 10);
  if (name == "GB2312" || name == "GBK" || name == "CP936" || name == "GB18030")
    return tarn::text::kCodePageGbk;
  if (name == "BIG5" || name == "BIG-5" || name == "CP950") return tarn::text::kCodePageBig5;
  if (name == "SHIFT_JIS" || name == "SHIFT-JIS" || name == "CP932")
    return tarn::text::kCodePageShiftJis;
  if (name == "EUC-KR" || name == "CP949" || name == "KS_C_5601-1987")
    return tarn::text::kCodePageUhc;
  return 1252;
}

std::string CodePageName(std::uint32_t codePage) {
  switch (codePage) {
    case tarn::text::kCodePageGbk:
      return "GB2312 (code page 936)";
    case tarn::text::kCodePageBig5:
      return "Big5 (code page 950)";
    case tarn::text::kCodePageShiftJis:
      return "Shift-JIS (code page 932)";
    case tarn::text::kCodePageUhc:
      return "Korean (code page 949)";
    default:
      return "code page " + std::to_string(codePage);
  }
}

std::optional<std::string> FieldLineValue(const std::string& line, const std::string& name) {
  const std::string open = "<" + name + ">", close = "</" + name + ">";
  if (!StartsWith(line, open) || line.size() < open.size() + close.size() ||
      line.compare(line.size() - close.size(), close.size(), close) != 0)
    return std::nullopt;
  return line.substr(open.size(), line.size() - open.size() - close.size());
}

ExtractionLists FindExtractionLists(const std::vector<std::string>& lines) {
  ExtractionLists lists;
  bool inExtraction = false;
  std::string subTaskType;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (StartsWith(line, "<Task ID=\"")) {
      inExtraction = StartsWith(line, "<Task ID=\"2412\"");
      subTaskType.clear();
    } else if (StartsWith(line, "<SubTask ID=\"")) {
      subTaskType = SubTaskTypeOf(line);
      if (inExtraction && subTaskType == "FolderList" && !lists.folderListStart)
        lists.folderListStart = i;
      if (inExtraction && subTaskType == "FileList" && !lists.fileListStart)
        lists.fileListStart = i;
    } else if (line == "</SubTask>") {
      subTaskType.clear();
    } else if (inExtraction && subTaskType == "FolderList") {
      lists.folderLines.push_back(i);
    } else if (inExtraction && subTaskType == "FileList") {
      lists.fileLines.push_back(i);
    }
  }
  return lists;
}

std::optional<AuthorFileLine> ParseAuthorFileValue(const std::string& value) {
  std::vector<std::string> f = SplitFields(value);
  AuthorFileLine e;
  if (f.size() >= 4 && f.back().find('-') != std::string::npos &&
      f.back().find(':') != std::string::npos) {
    e.timeStamp = f.back();
    f.pop_back();
  }
  if (f.size() < 3 || f.back().size() != 1 ||
      !std::isalpha(static_cast<unsigned char>(f.back()[0])))
    return std::nullopt;
  e.kind = static_cast<char>(std::toupper(static_cast<unsigned char>(f.back()[0])));
  f.pop_back();
  e.source = f.back();
  f.pop_back();
  for (std::size_t k = 0; k < f.size(); ++k) e.target += (k ? "," : "") + f[k];
  if (e.target.empty() || e.source.empty()) return std::nullopt;
  return e;
}

std::string AuthorFileValue(const AuthorFileLine& line) {
  std::string value = line.target + "," + line.source + "," + line.kind;
  if (!line.timeStamp.empty()) value += "," + line.timeStamp;
  return value;
}

std::string HostSourcePath(const std::string& projectFolder, const std::string& source,
                           std::uint32_t codePage) {
  std::string path = source;
  for (std::size_t i = tarn::text::FindChar(path, '\\', codePage); i != tarn::text::npos;
       i = tarn::text::FindChar(path, '\\', codePage, i + 1))
    path[i] = '/';
  const bool absolute = (!path.empty() && path[0] == '/') || (path.size() > 2 && path[1] == ':');
  if (absolute || projectFolder.empty()) return path;
  return projectFolder + "/" + path;
}

bool HasWildcard(const std::string& source, std::uint32_t codePage) {
  return tarn::text::FindChar(source, '*', codePage) != tarn::text::npos ||
         tarn::text::FindChar(source, '?', codePage) != tarn::text::npos;
}

}  // namespace tarnpack
