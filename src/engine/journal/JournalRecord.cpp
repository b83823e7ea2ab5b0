#include "engine/journal/JournalRecord.h"

#include <array>

#include "text/Digits.h"

namespace tarn::engine {

namespace {

struct KindName {
  JournalKind kind;
  const char* name;
  std::size_t fields;
};

constexpr std::array<KindName, 6> kKinds = {{
    {JournalKind::Begin, "begin", 3},
    {JournalKind::Folder, "folder", 1},
    {JournalKind::Staged, "staged", 1},
    {JournalKind::New, "new", 1},
    {JournalKind::Replaced, "replaced", 3},
    {JournalKind::Done, "done", 0},
}};

std::uint32_t Crc32(std::string_view bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const char c : bytes) {
    crc ^= static_cast<unsigned char>(c);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string Hex8(std::uint32_t value) { return text::HexDigits(value, 8, false); }

bool ParseLine(std::string_view line, JournalRecord& record) {
  if (line.size() < 10 || line[8] != ' ') return false;
  const std::string_view body = line.substr(9);
  if (Hex8(Crc32(body)) != line.substr(0, 8)) return false;
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (;;) {
    const std::size_t tab = body.find('\t', from);
    parts.emplace_back(body.substr(from, tab == std::string_view::npos ? tab : tab - from));
    if (tab == std::string_view::npos) break;
    from = tab + 1;
  }
  for (const auto& kind : kKinds) {
    if (parts[0] != kind.name || parts.size() != kind.fields + 1) continue;
    record.kind = kind.kind;
    record.fields.assign(parts.begin() + 1, parts.end());
    return true;
  }
  return false;
}

}  // namespace

std::string FormatJournalRecord(const JournalRecord& record) {
  std::string body;
  for (const auto& kind : kKinds) {
    if (kind.kind == record.kind) body = kind.name;
  }
  for (const auto& field : record.fields) body += "\t" + field;
  return Hex8(Crc32(body)) + " " + body + "\n";
}

JournalContents ParseJournal(std::string_view text) {
  JournalContents contents;
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t end = text.find('\n', from);
    JournalRecord record;
    if (end == std::string_view::npos || !ParseLine(text.substr(from, end - from), record)) {
      contents.damaged = true;
      break;
    }
    contents.records.push_back(std::move(record));
    from = end + 1;
  }
  return contents;
}

}  // namespace tarn::engine
