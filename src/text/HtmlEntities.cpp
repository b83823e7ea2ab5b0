#include "text/HtmlEntities.h"

namespace tarn::text {

namespace {

struct NamedEntity {
  std::string_view name;
  char32_t codePoint;
  // Browsers also take these without the closing semicolon.
  bool legacy;
};

constexpr NamedEntity kEntities[] = {
    {"amp", 38, true},      {"lt", 60, true},        {"gt", 62, true},       {"quot", 34, true},
    {"apos", 39, false},    {"nbsp", 160, true},     {"copy", 169, true},    {"reg", 174, true},
    {"trade", 8482, false}, {"hellip", 8230, false}, {"mdash", 8212, false}, {"ndash", 8211, false},
    {"lsquo", 8216, false}, {"rsquo", 8217, false},  {"ldquo", 8220, false}, {"rdquo", 8221, false},
    {"bull", 8226, false},  {"middot", 183, false},  {"euro", 8364, false},  {"pound", 163, false},
    {"yen", 165, false},    {"cent", 162, false},    {"sect", 167, false},   {"para", 182, false},
    {"deg", 176, false},    {"plusmn", 177, false},  {"times", 215, false},  {"divide", 247, false},
    {"laquo", 171, false},  {"raquo", 187, false},   {"shy", 173, false},    {"iexcl", 161, false},
    {"iquest", 191, false}, {"aacute", 225, false},  {"agrave", 224, false}, {"acirc", 226, false},
    {"auml", 228, false},   {"aring", 229, false},   {"ccedil", 231, false}, {"eacute", 233, false},
    {"egrave", 232, false}, {"ecirc", 234, false},   {"euml", 235, false},   {"iacute", 237, false},
    {"icirc", 238, false},  {"ntilde", 241, false},  {"oacute", 243, false}, {"ocirc", 244, false},
    {"ouml", 246, false},   {"oslash", 248, false},  {"uacute", 250, false}, {"ucirc", 251, false},
    {"uuml", 252, false},   {"szlig", 223, false},   {"Aacute", 193, false}, {"Agrave", 192, false},
    {"Auml", 196, false},   {"Aring", 197, false},   {"Ccedil", 199, false}, {"Eacute", 201, false},
    {"Egrave", 200, false}, {"Ntilde", 209, false},  {"Ouml", 214, false},   {"Oslash", 216, false},
    {"Uuml", 220, false},
};

}  // namespace

std::optional<char32_t> NamedEntityValue(std::string_view name, bool semicolon) {
  for (const NamedEntity& e : kEntities) {
    if (e.name == name && (semicolon || e.legacy)) return e.codePoint;
  }
  return std::nullopt;
}

char32_t NumericEntityValue(std::uint32_t value, bool overflow) {
  if (overflow || value == 0 || (value >= 0xD800 && value <= 0xDFFF)) return 0xFFFD;
  // Code points 128-159 name the Windows-1252 characters, as browsers read them.
  static constexpr char32_t kWindows1252[32] = {
      8364, 129,  8218, 402,  8222, 8230, 8224, 8225, 710, 8240, 352, 8249, 338, 141, 381, 143,
      144,  8216, 8217, 8220, 8221, 8226, 8211, 8212, 732, 8482, 353, 8250, 339, 157, 382, 376};
  if (value >= 128 && value < 160) return kWindows1252[value - 128];
  return value;
}

std::string_view AsciiStandIn(char32_t c) {
  switch (c) {
    case 173:  // soft hyphen: invisible unless a line breaks there
      return "";
    case 169:
      return "(c)";
    case 174:
      return "(R)";
    case 8482:
      return "(TM)";
    case 8211:
    case 8212:
      return "-";
    case 8216:
    case 8217:
      return "'";
    case 8220:
    case 8221:
      return "\"";
    case 8230:
      return "...";
    case 8226:
    case 183:
      return "*";
    case 171:
      return "<<";
    case 187:
      return ">>";
    default:
      return "?";
  }
}

}  // namespace tarn::text
