#include "tarnpack/ProjectTemplate.h"

#include <cctype>

#include "tarnpack/AuthorDocument.h"

namespace tarnpack {

namespace {

std::string LineError(std::size_t index, const std::string& message) {
  return "line " + std::to_string(index + 1) + ": " + message;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

bool IsTimeStamp(const std::string& field) {
  return field.find('-') != std::string::npos && field.find(':') != std::string::npos;
}

}  // namespace

bool ProjectTemplate::Parse(const std::string& text, std::string& error) {
  lines_.clear();
  entries_.clear();
  lines_ = SplitDocumentLines(text);

  std::string task, subTaskType;
  bool seen2412 = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string& line = lines_[i];
    if (line.find('\r') != std::string::npos)
      return error = LineError(i, "a carriage return inside a line"), false;
    if (line.find('\0') != std::string::npos)
      return error = LineError(i, "a zero byte inside a line"), false;
    if (StartsWith(line, "<Task ID=\"")) {
      const std::size_t q = line.find('"', 10);
      task = q == std::string::npos ? "" : line.substr(10, q - 10);
      if (seen2412) return error = LineError(i, "task 2412 must be the last task"), false;
      seen2412 = task == "2412";
      subTaskType.clear();
      continue;
    }
    if (StartsWith(line, "<SubTask ID=\"")) {
      const std::size_t t = line.find(" Type=\"");
      subTaskType = t == std::string::npos ? "" : line.substr(t + 7, line.size() - t - 9);
      continue;
    }
    if (line == "</SubTask>") {
      subTaskType.clear();
      continue;
    }
    if (task == "2412" && subTaskType == "FileList") {
      const auto value = FieldLineValue(line, "File");
      if (!value) return error = LineError(i, "expected a <File>...</File> line"), false;
      if (value->find('<') != std::string::npos)
        return error = LineError(i, "a File value cannot contain \"<\""), false;
      std::vector<std::string> f = SplitFields(*value);
      SourceEntry e;
      e.line = i;
      if (f.size() >= 4 && IsTimeStamp(f.back())) {
        e.timeStamp = f.back();
        f.pop_back();
      }
      if (f.size() < 3 || f.back().size() != 1 ||
          !std::isalpha(static_cast<unsigned char>(f.back()[0])))
        return error = LineError(i, "expected target,source,kind[,timestamp]"), false;
      e.kind = static_cast<char>(std::toupper(static_cast<unsigned char>(f.back()[0])));
      f.pop_back();
      e.source = f.back();
      f.pop_back();
      for (std::size_t k = 0; k < f.size(); ++k) e.target += (k ? "," : "") + f[k];
      if (e.target.empty()) return error = LineError(i, "the target is empty"), false;
      if (e.source.empty()) return error = LineError(i, "the source is empty"), false;
      entries_.push_back(e);
    } else if (StartsWith(line, "<") && line.find('>') != std::string::npos &&
               !StartsWith(line, "</")) {
      // A field line: its value ends at the first "<" after the opening tag.
      const std::size_t gt = line.find('>');
      const std::string name = line.substr(1, gt - 1);
      if (name.find(' ') == std::string::npos && name[0] != '?' && name != "InstallProject") {
        const std::size_t lt = line.find('<', gt);
        if (lt != std::string::npos && line.compare(lt, name.size() + 3, "</" + name + ">") != 0)
          return error = LineError(i, "a value cannot contain \"<\""), false;
      }
    }
  }
  if (!seen2412) return error = "the document has no task 2412 with the file list", false;
  if (entries_.empty()) return error = "the file list is empty", false;
  if (entries_.front().kind != 'K')
    return error = LineError(entries_.front().line,
                             "the first file must be the language file, of kind K"),
           false;
  bool othersStarted = false;
  for (const auto& e : entries_) {
    if (e.kind != 'K')
      othersStarted = true;
    else if (othersStarted)
      return error = LineError(e.line, "files of kind K must come before all others"), false;
  }
  return true;
}

std::optional<std::size_t> ProjectTemplate::SettingLine(const std::string& field) const {
  std::string task, subTaskType;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string& line = lines_[i];
    if (StartsWith(line, "<Task ID=\"")) {
      task = line.substr(10, line.find('"', 10) - 10);
    } else if (StartsWith(line, "<SubTask ID=\"")) {
      const std::size_t t = line.find(" Type=\"");
      subTaskType = t == std::string::npos ? "" : line.substr(t + 7, line.size() - t - 9);
    } else if (task == "2401" && subTaskType == "GetAllVar" && FieldLineValue(line, field)) {
      return i;
    }
  }
  return std::nullopt;
}

std::optional<std::string> ProjectTemplate::Setting(const std::string& field) const {
  const auto line = SettingLine(field);
  if (!line) return std::nullopt;
  return FieldLineValue(lines_[*line], field);
}

bool ProjectTemplate::SetSetting(const std::string& field, const std::string& value) {
  const auto line = SettingLine(field);
  if (!line) return false;
  lines_[*line] = "<" + field + ">" + value + "</" + field + ">";
  return true;
}

void ProjectTemplate::AppendEntry(const std::string& target, const std::string& source, char kind) {
  SourceEntry e;
  e.line = entries_.back().line + 1;
  e.target = target;
  e.source = source;
  e.kind = kind;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(e.line),
                "<File>" + target + "," + source + "," + kind + "</File>");
  entries_.push_back(e);
}

void ProjectTemplate::SetFileValue(std::size_t line, const std::string& value) {
  lines_[line] = "<File>" + value + "</File>";
}

std::string ProjectTemplate::Text() const {
  std::string out;
  for (const auto& line : lines_) out += line + "\r\n";
  return out;
}

std::string FormatTimeStamp(int year, int month, int day, int hour, int minute, int second) {
  return std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day) + " " +
         std::to_string(hour) + ":" + std::to_string(minute) + ":" + std::to_string(second);
}

}  // namespace tarnpack
