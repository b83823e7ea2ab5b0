#include "package/PackageEntry.h"

#include "text/ByteText.h"

namespace tarn::package {

namespace {

// Takes the text up to the next `delimiter` and moves `rest` past it; without a delimiter the
// whole rest is taken.
std::string_view TakeField(std::string_view& rest, char delimiter) {
  const std::size_t at = rest.find(delimiter);
  std::string_view field = rest.substr(0, at);
  rest = at == std::string_view::npos ? std::string_view() : rest.substr(at + 1);
  return field;
}

}  // namespace

EntryKind KindFromLetter(std::string_view field) {
  const std::string upper = text::AsciiUpper(field);
  static constexpr struct {
    const char* letter;
    EntryKind kind;
  } kKinds[] = {{"A", EntryKind::Application},    {"K", EntryKind::Installer},
                {"L", EntryKind::RunAndDelete},   {"N", EntryKind::Stored},
                {"R", EntryKind::RegistryImport}, {"U", EntryKind::Uninstaller}};
  for (const auto& k : kKinds) {
    if (upper == k.letter) return k.kind;
  }
  return EntryKind::Unknown;
}

CalendarTime ParseTimeStamp(std::string_view text) {
  CalendarTime t;
  std::string_view rest = text;
  t.year = text::ParseDecimal32(TakeField(rest, '-'));
  t.month = text::ParseDecimal32(TakeField(rest, '-'));
  t.day = text::ParseDecimal32(TakeField(rest, ' '));
  t.hour = text::ParseDecimal32(TakeField(rest, ':'));
  t.minute = text::ParseDecimal32(TakeField(rest, ':'));
  t.second = text::ParseDecimal32(rest);
  return t;
}

std::optional<PackageEntry> PackageEntry::Parse(std::string_view line, const PathExpander& expand) {
  if (line.size() > kMaxLineLength) return std::nullopt;
  PackageEntry e;
  e.line_ = std::string(line);

  // Count commas from the end; the fourth one separates the target. A comma byte is never the
  // trail byte of a double-byte character, so a plain byte scan is safe in every code page.
  std::size_t separator = 0;
  int commas = 0;
  for (std::size_t i = line.size(); i-- > 1;) {
    if (line[i] == ',' && ++commas == 4) {
      separator = i;
      break;
    }
  }

  e.target_ = std::string(line.substr(0, separator));
  e.expandedTarget_ = expand ? expand(e.target_) : e.target_;

  std::string_view rest = line.size() > separator ? line.substr(separator + 1) : std::string_view();
  e.offset_ = text::ParseDecimal64(TakeField(rest, ','));
  e.size_ = text::ParseDecimal64(TakeField(rest, ','));
  e.kind_ = KindFromLetter(TakeField(rest, ','));
  e.timeStamp_ = std::string(rest);
  return e;
}

}  // namespace tarn::package
