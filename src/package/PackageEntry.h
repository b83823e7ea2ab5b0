#pragma once
// One line of the package's file list: where a packaged file lies and where it goes.
//   target,offset,size,kind,timestamp      e.g. "[InstallDir]\a,b.txt,1000,20,A,2005-1-2 3:4:5"
// The target may itself contain commas; the last four fields never do.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarn::package {

// Codes of the kind letters; the rest of the program compares codes, not letters.
enum class EntryKind : std::int32_t {
  Application = 0,     // A: compressed application file
  Installer = 2,       // K: a file of the installer itself, extracted while loading
  RunAndDelete = 3,    // L: run after writing, then deleted
  Stored = 4,          // N: application file stored without compression
  RegistryImport = 5,  // R: registry file imported after writing, then deleted
  Uninstaller = 6,     // U: the uninstaller program
  Unknown = 7,         // any other letter: written like an application file
};

EntryKind KindFromLetter(std::string_view field);

// Local calendar time as recorded in an entry.
struct CalendarTime {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  std::int32_t second = 0;
  std::int32_t milliseconds = 0;

  bool operator==(const CalendarTime& o) const {
    return year == o.year && month == o.month && day == o.day && hour == o.hour &&
           minute == o.minute && second == o.second && milliseconds == o.milliseconds;
  }
};

// "2005-1-23 20:20:58" → its fields; missing or non-numeric parts read as 0.
CalendarTime ParseTimeStamp(std::string_view text);

// Replaces the path variables of a target; the identity when none is given.
using PathExpander = std::function<std::string(const std::string&)>;

class PackageEntry {
 public:
  // Entry lines live in a 4096-byte buffer in the file format's reader, so longer lines are
  // refused rather than truncated.
  static constexpr std::size_t kMaxLineLength = 4095;

  // Nothing for a line that is too long. A line with fewer than four commas parses the way the
  // scan falls out (empty target, fields read after the first character) and is useless, but
  // harmless.
  static std::optional<PackageEntry> Parse(std::string_view line,
                                           const PathExpander& expand = nullptr);

  const std::string& Line() const { return line_; }
  const std::string& ExpandedTarget() const { return expandedTarget_; }
  const std::string& Target() const { return target_; }
  std::int64_t Offset() const { return offset_; }
  std::int64_t CompressedSize() const { return size_; }
  EntryKind Kind() const { return kind_; }
  std::int32_t KindCode() const { return static_cast<std::int32_t>(kind_); }
  const std::string& TimeStampText() const { return timeStamp_; }
  CalendarTime TimeStamp() const { return ParseTimeStamp(timeStamp_); }

 private:
  std::string line_;
  std::string expandedTarget_;
  std::string target_;
  std::int64_t offset_ = 0;
  std::int64_t size_ = 0;
  EntryKind kind_ = EntryKind::Unknown;
  std::string timeStamp_;
};

}  // namespace tarn::package
