#include "project/FieldLine.h"

#include <string>

#include "text/ByteText.h"

namespace tarn::project {

FieldEntry ParseFieldLine(std::string_view line, std::uint32_t codePage) {
  if (line.empty()) return FieldEntry(FieldName::InvalidField, "");
  // The name starts after the first character, which is the "<" of a well-formed line.
  const std::size_t nameStart =
      (line.size() > 1 && text::IsLeadByte(static_cast<unsigned char>(line[0]), codePage)) ? 2 : 1;
  const std::size_t nameEnd = text::FindChar(line, '>', codePage, nameStart);
  const std::string_view name =
      nameEnd == text::npos ? line : line.substr(nameStart, nameEnd - nameStart);

  std::string value;
  const std::size_t open = text::FindChar(line, '>', codePage);
  const std::size_t close = text::FindChar(line, '<', codePage, nameStart);
  if (open != text::npos && close != text::npos && close > open)
    value.assign(line.substr(open + 1, close - open - 1));
  return FieldEntry(FieldNameOf(name), std::move(value));
}

}  // namespace tarn::project
