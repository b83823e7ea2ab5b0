#include "text/ByteText.h"

#include <algorithm>
#include <limits>

namespace tarn::text {

bool IsLeadByte(unsigned char byte, std::uint32_t codePage) {
  switch (codePage) {
    case kCodePageGbk:
    case kCodePageUhc:
    case kCodePageBig5:
      return byte >= 0x81 && byte <= 0xFE;
    case kCodePageShiftJis:
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    default:
      return false;
  }
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool ContainsIgnoreAsciiCase(std::string_view text, std::string_view needle,
                             std::uint32_t codePage) {
  return FindText(AsciiUpper(text), AsciiUpper(needle), codePage) != npos;
}

std::string FileExtension(std::string_view path, std::uint32_t codePage) {
  const std::size_t dot = FindLastChar(path, '.', codePage);
  return dot == npos ? std::string() : std::string(path.substr(dot + 1));
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

namespace {

// Length in bytes of the character starting at `pos`. A lead byte at the very end of the text
// counts as a single byte so a truncated character never reads past the end.
std::size_t CharLength(std::string_view text, std::size_t pos, std::uint32_t codePage) {
  if (IsLeadByte(static_cast<unsigned char>(text[pos]), codePage) && pos + 1 < text.size())
    return 2;
  return 1;
}

bool HasDoubleByteChars(std::uint32_t codePage) {
  return codePage == kCodePageGbk || codePage == kCodePageUhc || codePage == kCodePageBig5 ||
         codePage == kCodePageShiftJis;
}

}  // namespace

std::size_t FindChar(std::string_view text, char c, std::uint32_t codePage, std::size_t from) {
  if (!HasDoubleByteChars(codePage)) return text.find(c, from);
  for (std::size_t i = from; i < text.size(); i += CharLength(text, i, codePage)) {
    if (text[i] == c) return i;
  }
  return npos;
}

std::size_t FindText(std::string_view text, std::string_view needle, std::uint32_t codePage,
                     std::size_t from) {
  if (!HasDoubleByteChars(codePage)) return text.find(needle, from);
  if (needle.empty()) return from <= text.size() ? from : npos;
  if (needle.size() > text.size()) return npos;
  const std::size_t last = text.size() - needle.size();
  std::size_t i = from;
  while (i <= last) {
    if (text[i] == needle[0] && text.compare(i, needle.size(), needle) == 0) return i;
    i += CharLength(text, i, codePage);
  }
  return npos;
}

std::size_t FindLastChar(std::string_view text, char c, std::uint32_t codePage) {
  if (!HasDoubleByteChars(codePage)) return text.rfind(c);
  std::size_t found = npos;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i, codePage)) {
    if (text[i] == c) found = i;
  }
  return found;
}

std::vector<std::string> SplitCrLfLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

namespace {

// The blanks the C runtime's number readers skip: space, tab, line feed, vertical tab, form feed
// and carriage return.
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

template <typename Int>
Int ParseDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  using Limits = std::numeric_limits<Int>;
  // Accumulate the magnitude in an unsigned type wide enough for |min|.
  const std::uint64_t limit = negative ? static_cast<std::uint64_t>(Limits::max()) + 1
                                       : static_cast<std::uint64_t>(Limits::max());
  std::uint64_t value = 0;
  bool saturated = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const unsigned digit = static_cast<unsigned>(text[i] - '0');
    if (saturated || value > (limit - digit) / 10) {
      saturated = true;
      continue;
    }
    value = value * 10 + digit;
  }
  if (saturated) return negative ? Limits::min() : Limits::max();
  if (negative) {
    return value == limit ? Limits::min() : static_cast<Int>(-static_cast<Int>(value));
  }
  return static_cast<Int>(value);
}

}  // namespace

std::int64_t ParseDecimal64(std::string_view text) { return ParseDecimal<std::int64_t>(text); }
std::int32_t ParseDecimal32(std::string_view text) { return ParseDecimal<std::int32_t>(text); }

double ParseDecimalFraction(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  // Up to 19 digits are held exactly; later ones only move the decimal point.
  std::uint64_t digits = 0;
  int held = 0;
  int scale = 0;
  bool any = false;
  bool fraction = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && !fraction) {
      fraction = true;
      continue;
    }
    if (c < '0' || c > '9') break;
    any = true;
    if (held < 19) {
      digits = digits * 10 + static_cast<unsigned>(c - '0');
      if (digits != 0) ++held;
      if (fraction) --scale;
    } else if (!fraction) {
      ++scale;
    }
  }
  if (!any) return 0.0;
  if (digits == 0) return negative ? -0.0 : 0.0;  // whatever the exponent
  if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    const std::size_t at = i + 1;
    const bool digitFollows = (text[at] >= '0' && text[at] <= '9') ||
                              ((text[at] == '-' || text[at] == '+') && at + 1 < text.size() &&
                               text[at + 1] >= '0' && text[at + 1] <= '9');
    if (digitFollows) {
      const std::int64_t exponent = ParseDecimal64(std::string_view(text).substr(at));
      scale += static_cast<int>(std::clamp<std::int64_t>(exponent, -1000, 1000));
    }
  }
  // A power of ten up to 10^22 is exact, so one multiplication or division rounds once.
  double value = static_cast<double>(digits);
  double power = 1.0;
  for (int k = 0; k < (scale < 0 ? -scale : scale) && power <= std::numeric_limits<double>::max();
       ++k)
    power *= 10.0;
  value = scale < 0 ? value / power : value * power;
  return negative ? -value : value;
}

}  // namespace tarn::text
