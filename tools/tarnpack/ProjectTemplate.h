#pragma once
// The package author's project document, handled line by line as the setup program reads it.
// In the author's form, every File value of the file list names a source file instead of a
// place in the package:  target,source,kind[,timestamp]

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarnpack {

struct SourceEntry {
  std::size_t line = 0;  // index into the document's lines
  std::string target;
  std::string source;
  char kind = 'A';        // upper case
  std::string timeStamp;  // empty: take the source's modification time
};

class ProjectTemplate {
 public:
  // Reads the document (CR LF or LF line ends). False with a message naming the line when the
  // document breaks a rule of the format.
  bool Parse(const std::string& text, std::string& error);

  const std::vector<SourceEntry>& Entries() const { return entries_; }

  // First value of a field in task 2401's GetAllVar subtask, if the line exists.
  std::optional<std::string> Setting(const std::string& field) const;
  // Replaces that value; false when the document has no such line.
  bool SetSetting(const std::string& field, const std::string& value);

  // Adds a file-list line after the last one (the list is never empty once parsed).
  void AppendEntry(const std::string& target, const std::string& source, char kind);

  // Replaces a file-list line by the entry the setup program reads.
  void SetFileValue(std::size_t line, const std::string& value);

  // The document with CR LF after every line, the way the setup program expects it.
  std::string Text() const;

 private:
  std::optional<std::size_t> SettingLine(const std::string& field) const;

  std::vector<std::string> lines_;
  std::vector<SourceEntry> entries_;
};

// "2005-1-23 20:20:58" style text of a local time.
std::string FormatTimeStamp(int year, int month, int day, int hour, int minute, int second);

}  // namespace tarnpack
