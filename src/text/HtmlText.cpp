#include "text/HtmlText.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "text/ByteText.h"

namespace tarn::text {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
// Deeper lists are not indented further, so nesting cannot blow up the line length.
constexpr std::size_t kMaxListIndent = 8;
// MIME parts nested deeper than this are not looked into.
constexpr int kMaxMimeDepth = 8;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsAlpha(c) || IsDigit(c); }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Lower(c);
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

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

// What to write for a character the code page lacks.
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

// Plain lines laid out like a browser: white space collapses into single spaces and never
// starts or ends a line; block elements ask for line ends, which are only written once text
// follows them.
class LineWriter {
 public:
  void Text(std::string_view chars) {
    if (chars.empty()) return;
    if (!out_.empty() && newlines_ < wantedNewlines_) {
      for (int i = newlines_; i < wantedNewlines_; ++i) out_ += kLineEnd;
      lineStart_ = true;
    } else if (pendingSpace_ && !lineStart_) {
      out_ += ' ';
    }
    out_ += chars;
    newlines_ = 0;
    wantedNewlines_ = 0;
    pendingSpace_ = false;
    lineStart_ = false;
  }
  void Space() { pendingSpace_ = true; }
  // At least `lines` line ends before the next text: 1 starts a new line, 2 leaves one empty.
  void Break(int lines) {
    wantedNewlines_ = std::max(wantedNewlines_, lines);
    pendingSpace_ = false;
  }
  // A line end written even where one is already pending (<br>).
  void HardBreak() {
    if (newlines_ < wantedNewlines_) {
      for (int i = newlines_; i < wantedNewlines_; ++i) out_ += kLineEnd;
      newlines_ = wantedNewlines_;
    }
    out_ += kLineEnd;
    ++newlines_;
    wantedNewlines_ = newlines_;
    pendingSpace_ = false;
    lineStart_ = true;
  }
  // A table cell after the first of its row.
  void CellSeparator() {
    if (lineStart_ || newlines_ < wantedNewlines_) return;
    out_ += '\t';
    pendingSpace_ = false;
    lineStart_ = true;
  }
  std::string Take() {
    // Line ends asked for at the very end are not written.
    while (out_.size() >= kLineEnd.size() &&
           out_.compare(out_.size() - kLineEnd.size(), kLineEnd.size(), kLineEnd) == 0)
      out_.resize(out_.size() - kLineEnd.size());
    return std::move(out_);
  }

 private:
  std::string out_;
  int newlines_ = 0;  // line ends at the end of the output
  int wantedNewlines_ = 0;
  bool pendingSpace_ = false;
  bool lineStart_ = true;
};

enum class Block { None, Line, Paragraph };

Block BlockOf(std::string_view tag) {
  static constexpr std::string_view paragraphs[] = {
      "p",    "h1", "h2",         "h3",      "h4",    "h5",      "h6",
      "ul",   "ol", "dl",         "pre",     "table", "address", "fieldset",
      "form", "hr", "blockquote", "listing", "xmp",   "menu",    "dir"};
  static constexpr std::string_view lines[] = {
      "div",    "li",    "dt",    "dd",     "tr",     "center",     "section", "article", "header",
      "footer", "nav",   "main",  "aside",  "figure", "figcaption", "caption", "body",    "html",
      "tbody",  "thead", "tfoot", "option", "legend", "details",    "summary", "noscript"};
  for (std::string_view p : paragraphs)
    if (tag == p) return Block::Paragraph;
  for (std::string_view l : lines)
    if (tag == l) return Block::Line;
  return Block::None;
}

// Elements whose content is never shown.
bool IsHiddenContent(std::string_view tag) {
  return tag == "script" || tag == "style" || tag == "title" || tag == "template";
}

class HtmlReader {
 public:
  HtmlReader(std::string_view html, std::uint32_t codePage, const CodePointEncoder& encode)
      : html_(html), codePage_(codePage), encode_(encode) {}

  std::string Read() {
    while (pos_ < html_.size()) {
      const char c = html_[pos_];
      if (c == '<') {
        Markup();
      } else if (c == '&') {
        Entity();
      } else if (IsSpace(c)) {
        WhiteSpace(c);
        ++pos_;
      } else {
        PlainRun();
      }
    }
    return out_.Take();
  }

 private:
  std::size_t Find(std::string_view what, std::size_t from) const {
    const std::size_t at = FindText(html_, what, codePage_, from);
    return at == npos ? html_.size() : at;
  }

  // Characters up to the next markup, entity or white space, double-byte ones whole.
  void PlainRun() {
    const std::size_t start = pos_;
    while (pos_ < html_.size()) {
      const char c = html_[pos_];
      if (c == '<' || c == '&' || IsSpace(c)) break;
      pos_ += IsLeadByte(static_cast<unsigned char>(c), codePage_) ? 2 : 1;
    }
    pos_ = std::min(pos_, html_.size());
    out_.Text(html_.substr(start, pos_ - start));
  }

  void WhiteSpace(char c) {
    if (preDepth_ == 0) {
      out_.Space();
    } else if (c == '\n') {
      out_.HardBreak();
    } else if (c == '\r') {
      if (pos_ + 1 >= html_.size() || html_[pos_ + 1] != '\n') out_.HardBreak();
    } else {
      out_.Text(std::string_view(&c, 1));
    }
  }

  void Markup() {
    const std::size_t next = pos_ + 1;
    const char n = next < html_.size() ? html_[next] : '\0';
    if (html_.compare(pos_, 4, "<!--") == 0) {
      // An unclosed comment runs to the end, as in a browser.
      const std::size_t end = Find("-->", pos_ + 4);
      pos_ = end == html_.size() ? end : end + 3;
    } else if (n == '!' || n == '?' ||
               (n == '/' && !(next + 1 < html_.size() && IsAlpha(html_[next + 1])))) {
      // Declarations, processing instructions and bogus end tags.
      const std::size_t end = Find(">", next);
      pos_ = end == html_.size() ? end : end + 1;
    } else if (n == '/') {
      pos_ = next + 1;
      const std::string name = TagName();
      if (SkipAttributes()) EndTag(name);
    } else if (IsAlpha(n)) {
      pos_ = next;
      const std::string name = TagName();
      if (SkipAttributes()) StartTag(name);
    } else {
      out_.Text("<");
      ++pos_;
    }
  }

  std::string TagName() {
    const std::size_t start = pos_;
    while (pos_ < html_.size() &&
           (IsAlnum(html_[pos_]) || html_[pos_] == '-' || html_[pos_] == ':' || html_[pos_] == '_'))
      ++pos_;
    return LowerAscii(html_.substr(start, pos_ - start));
  }

  // Moves past the closing '>' of a tag, over quoted attribute values; false when the input
  // ends inside the tag, which then shows nothing.
  bool SkipAttributes() {
    bool afterEquals = false;
    while (pos_ < html_.size()) {
      const char c = html_[pos_];
      if (c == '>') {
        ++pos_;
        return true;
      }
      if (afterEquals && (c == '"' || c == '\'')) {
        const std::size_t close = FindChar(html_, c, codePage_, pos_ + 1);
        if (close == npos) break;
        pos_ = close + 1;
        afterEquals = false;
        continue;
      }
      if (c == '=') {
        afterEquals = true;
      } else if (!IsSpace(c)) {
        afterEquals = false;
      }
      pos_ += IsLeadByte(static_cast<unsigned char>(c), codePage_) ? 2 : 1;
    }
    pos_ = html_.size();
    return false;
  }

  void ApplyBlock(std::string_view name) {
    switch (BlockOf(name)) {
      case Block::Paragraph:
        out_.Break(2);
        break;
      case Block::Line:
        out_.Break(1);
        break;
      case Block::None:
        break;
    }
  }

  void StartTag(const std::string& name) {
    if (IsHiddenContent(name)) {
      SkipHiddenContent(name);
      return;
    }
    ApplyBlock(name);
    if (name == "br") {
      out_.HardBreak();
    } else if (name == "pre" || name == "listing" || name == "xmp") {
      ++preDepth_;
      // A line end right after the opening tag is not shown.
      if (html_.compare(pos_, 2, "\r\n") == 0)
        pos_ += 2;
      else if (pos_ < html_.size() && html_[pos_] == '\n')
        ++pos_;
    } else if (name == "ul" || name == "ol" || name == "menu" || name == "dir") {
      lists_.push_back(name == "ol" ? 1 : 0);
    } else if (name == "li") {
      ListMarker();
    } else if (name == "td" || name == "th") {
      out_.CellSeparator();
    } else if (name == "tr") {
      out_.Break(1);
    }
  }

  void EndTag(const std::string& name) {
    ApplyBlock(name);
    if ((name == "pre" || name == "listing" || name == "xmp") && preDepth_ > 0) {
      --preDepth_;
    } else if ((name == "ul" || name == "ol" || name == "menu" || name == "dir") &&
               !lists_.empty()) {
      lists_.pop_back();
    }
  }

  void ListMarker() {
    std::string marker(std::min(lists_.size() > 0 ? lists_.size() - 1 : 0, kMaxListIndent) * 2,
                       ' ');
    if (!lists_.empty() && lists_.back() > 0) {
      marker += std::to_string(lists_.back()++) + ".";
    } else {
      marker += Encode(8226);
    }
    out_.Text(marker);
    out_.Space();
  }

  // Script, style and title: everything up to the element's end tag, which is then read as
  // usual; without one, the rest of the document.
  void SkipHiddenContent(const std::string& name) {
    while (pos_ < html_.size()) {
      const std::size_t open = Find("</", pos_);
      if (open == html_.size()) break;
      std::size_t i = open + 2;
      std::size_t k = 0;
      while (k < name.size() && i + k < html_.size() && Lower(html_[i + k]) == name[k]) ++k;
      if (k == name.size() && (i + k == html_.size() || !IsAlnum(html_[i + k]))) {
        pos_ = open;
        return;
      }
      pos_ = open + 2;
    }
    pos_ = html_.size();
  }

  void Entity() {
    const std::size_t start = pos_ + 1;
    std::optional<char32_t> decoded;
    std::size_t end = start;
    if (start < html_.size() && html_[start] == '#') {
      decoded = NumericEntity(start + 1, end);
    } else {
      decoded = NamedEntityAt(start, end);
    }
    if (!decoded) {
      out_.Text("&");
      ++pos_;
      return;
    }
    pos_ = end;
    if (*decoded == 160) {
      // No-break space: a space that does not collapse.
      out_.Text(" ");
    } else {
      out_.Text(Encode(*decoded));
    }
  }

  std::optional<char32_t> NumericEntity(std::size_t from, std::size_t& end) const {
    std::size_t i = from;
    const bool hex = i < html_.size() && (html_[i] == 'x' || html_[i] == 'X');
    if (hex) ++i;
    std::uint32_t value = 0;
    bool overflow = false;
    const std::size_t digitsStart = i;
    while (i < html_.size()) {
      const int digit = hex ? HexDigitValue(html_[i]) : (IsDigit(html_[i]) ? html_[i] - '0' : -1);
      if (digit < 0) break;
      value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
      if (value > 0x10FFFF) {
        overflow = true;
        value = 0x110000;
      }
      ++i;
    }
    if (i == digitsStart) return std::nullopt;
    if (i < html_.size() && html_[i] == ';') ++i;
    end = i;
    if (overflow || value == 0 || (value >= 0xD800 && value <= 0xDFFF)) return 0xFFFD;
    // Code points 128-159 name the Windows-1252 characters, as browsers read them.
    static constexpr char32_t kWindows1252[32] = {
        8364, 129,  8218, 402,  8222, 8230, 8224, 8225, 710, 8240, 352, 8249, 338, 141, 381, 143,
        144,  8216, 8217, 8220, 8221, 8226, 8211, 8212, 732, 8482, 353, 8250, 339, 157, 382, 376};
    if (value >= 128 && value < 160) return kWindows1252[value - 128];
    return value;
  }

  std::optional<char32_t> NamedEntityAt(std::size_t from, std::size_t& end) const {
    std::size_t i = from;
    while (i < html_.size() && i - from < 32 && IsAlnum(html_[i])) ++i;
    const std::string_view name = html_.substr(from, i - from);
    if (name.empty()) return std::nullopt;
    const bool semicolon = i < html_.size() && html_[i] == ';';
    for (const NamedEntity& e : kEntities) {
      if (e.name == name && (semicolon || e.legacy)) {
        end = semicolon ? i + 1 : i;
        return e.codePoint;
      }
    }
    return std::nullopt;
  }

  std::string Encode(char32_t c) const {
    if (c < 0x80) return std::string(1, static_cast<char>(c));
    if (encode_) {
      std::string bytes = encode_(c);
      if (!bytes.empty()) return bytes;
    }
    return std::string(AsciiStandIn(c));
  }

  std::string_view html_;
  std::uint32_t codePage_;
  const CodePointEncoder& encode_;
  std::size_t pos_ = 0;
  int preDepth_ = 0;
  // One entry per open list: the next number of an ordered list, 0 for a bulleted one.
  std::vector<int> lists_;
  LineWriter out_;
};

// --- MIME ---

struct MimeHeaders {
  bool present = false;   // a Content-Type or MIME-Version header was seen
  std::string mediaType;  // lower case, without parameters
  std::string boundary;
  std::string transferEncoding;  // lower case
};

std::string HeaderParameter(std::string_view value, std::string_view wanted) {
  std::size_t pos = value.find(';');
  while (pos != std::string_view::npos) {
    const std::size_t next = value.find(';', pos + 1);
    std::string_view param =
        Trim(value.substr(pos + 1, next == std::string_view::npos ? npos : next - pos - 1));
    const std::size_t eq = param.find('=');
    if (eq != std::string_view::npos && LowerAscii(Trim(param.substr(0, eq))) == wanted) {
      std::string_view v = Trim(param.substr(eq + 1));
      if (v.size() >= 2 && v.front() == '"') {
        // A quoted value may hold semicolons.
        const std::size_t quoteStart = value.find('"', pos + 1);
        const std::size_t quoteEnd = value.find('"', quoteStart + 1);
        if (quoteEnd != std::string_view::npos)
          return std::string(value.substr(quoteStart + 1, quoteEnd - quoteStart - 1));
        v.remove_prefix(1);
      }
      return std::string(v);
    }
    pos = next;
  }
  return {};
}

// Splits an entity into its headers and its body at the first empty line.
MimeHeaders ReadHeaders(std::string_view entity, std::string_view& body) {
  const std::size_t crlf = entity.find("\r\n\r\n");
  const std::size_t lf = entity.find("\n\n");
  std::size_t headerEnd = entity.size();
  std::size_t bodyStart = entity.size();
  if (crlf != std::string_view::npos && (lf == std::string_view::npos || crlf < lf)) {
    headerEnd = crlf;
    bodyStart = crlf + 4;
  } else if (lf != std::string_view::npos) {
    headerEnd = lf;
    bodyStart = lf + 2;
  }
  // An entity that starts with its empty line has no headers.
  if (entity.compare(0, 2, "\r\n") == 0) {
    headerEnd = 0;
    bodyStart = 2;
  } else if (entity.compare(0, 1, "\n") == 0) {
    headerEnd = 0;
    bodyStart = 1;
  }
  body = entity.substr(bodyStart);

  // Unfold continuation lines, then read "Name: value" fields.
  std::vector<std::string> fields;
  std::string_view headers = entity.substr(0, headerEnd);
  while (!headers.empty()) {
    const std::size_t eol = headers.find('\n');
    std::string_view line = headers.substr(0, eol);
    headers = eol == std::string_view::npos ? std::string_view() : headers.substr(eol + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && (line.front() == ' ' || line.front() == '\t') && !fields.empty())
      fields.back() += std::string(line);
    else
      fields.emplace_back(line);
  }
  MimeHeaders result;
  for (const std::string& field : fields) {
    const std::size_t colon = field.find(':');
    if (colon == std::string::npos) continue;
    const std::string name = LowerAscii(Trim(std::string_view(field).substr(0, colon)));
    const std::string_view value = Trim(std::string_view(field).substr(colon + 1));
    if (name == "content-type") {
      result.present = true;
      result.mediaType = LowerAscii(Trim(value.substr(0, value.find(';'))));
      result.boundary = HeaderParameter(value, "boundary");
    } else if (name == "content-transfer-encoding") {
      result.transferEncoding = LowerAscii(value);
    } else if (name == "mime-version") {
      result.present = true;
    }
  }
  return result;
}

std::string DecodeBody(std::string_view body, const std::string& encoding) {
  if (encoding == "quoted-printable") return DecodeQuotedPrintable(body);
  if (encoding == "base64") return DecodeBase64(body);
  return std::string(body);
}

struct FoundParts {
  std::optional<std::string> html;
  std::optional<std::string> plain;
};

// A delimiter line is the boundary alone, perhaps closed with "--" and followed by blanks; a
// longer boundary that merely starts with this one does not count.
bool EndsDelimiter(std::string_view body, std::size_t pos) {
  if (body.compare(pos, 2, "--") == 0) pos += 2;
  while (pos < body.size() && (body[pos] == ' ' || body[pos] == '\t')) ++pos;
  return pos == body.size() || body[pos] == '\r' || body[pos] == '\n';
}

// The parts of a multipart body, between lines that start with "--" + boundary.
std::vector<std::string_view> SplitMultipart(std::string_view body, const std::string& boundary) {
  std::vector<std::string_view> parts;
  if (boundary.empty()) return parts;
  const std::string delimiter = "--" + boundary;
  std::size_t partStart = npos;
  std::size_t pos = 0;
  while (pos < body.size()) {
    const std::size_t at = body.find(delimiter, pos);
    if (at == std::string_view::npos) break;
    if ((at != 0 && body[at - 1] != '\n') || !EndsDelimiter(body, at + delimiter.size())) {
      pos = at + 1;
      continue;
    }
    if (partStart != npos) {
      std::size_t partEnd = at;
      // The line end before a delimiter belongs to the delimiter.
      if (partEnd > partStart && body[partEnd - 1] == '\n') --partEnd;
      if (partEnd > partStart && body[partEnd - 1] == '\r') --partEnd;
      parts.push_back(body.substr(partStart, partEnd - partStart));
    }
    const bool closing = body.compare(at + delimiter.size(), 2, "--") == 0;
    if (closing) return parts;
    const std::size_t eol = body.find('\n', at + delimiter.size());
    if (eol == std::string_view::npos) return parts;
    partStart = eol + 1;
    pos = partStart;
  }
  // A last part without its closing delimiter still counts.
  if (partStart != npos && partStart < body.size()) parts.push_back(body.substr(partStart));
  return parts;
}

void FindParts(std::string_view entity, int depth, FoundParts& found) {
  std::string_view body;
  const MimeHeaders headers = ReadHeaders(entity, body);
  if (headers.mediaType.compare(0, 10, "multipart/") == 0) {
    if (depth >= kMaxMimeDepth) return;
    for (std::string_view part : SplitMultipart(body, headers.boundary)) {
      FindParts(part, depth + 1, found);
      if (found.html) return;
    }
  } else if (headers.mediaType == "text/html") {
    found.html = DecodeBody(body, headers.transferEncoding);
  } else if ((headers.mediaType == "text/plain" || headers.mediaType.empty()) && !found.plain) {
    found.plain = DecodeBody(body, headers.transferEncoding);
  }
}

// Plain text with its line ends made CR LF.
std::string PlainLines(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += kLineEnd;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] == '\n') {
      out += kLineEnd;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::string HtmlToText(std::string_view html, std::uint32_t codePage,
                       const CodePointEncoder& encode) {
  return HtmlReader(html, codePage, encode).Read();
}

std::string MhtHtmlPart(std::string_view mht) {
  FoundParts found;
  FindParts(mht, 0, found);
  return found.html.value_or(std::string());
}

std::string MhtToText(std::string_view mht, std::uint32_t codePage,
                      const CodePointEncoder& encode) {
  std::string_view body;
  if (!ReadHeaders(mht, body).present) return HtmlToText(mht, codePage, encode);
  FoundParts found;
  FindParts(mht, 0, found);
  if (found.html) return HtmlToText(*found.html, codePage, encode);
  if (found.plain) return PlainLines(*found.plain);
  return {};
}

std::string DecodeQuotedPrintable(std::string_view encoded) {
  std::string out;
  out.reserve(encoded.size());
  std::size_t i = 0;
  while (i < encoded.size()) {
    const char c = encoded[i];
    if (c != '=') {
      out += c;
      ++i;
      continue;
    }
    // A soft line break: '=' at the end of a line, perhaps followed by blanks.
    std::size_t j = i + 1;
    while (j < encoded.size() && (encoded[j] == ' ' || encoded[j] == '\t')) ++j;
    if (j < encoded.size() && encoded[j] == '\r' && j + 1 < encoded.size() &&
        encoded[j + 1] == '\n') {
      i = j + 2;
    } else if (j < encoded.size() && encoded[j] == '\n') {
      i = j + 1;
    } else if (j == encoded.size()) {
      i = j;
    } else if (i + 2 < encoded.size() && HexDigitValue(encoded[i + 1]) >= 0 &&
               HexDigitValue(encoded[i + 2]) >= 0) {
      out += static_cast<char>(HexDigitValue(encoded[i + 1]) * 16 + HexDigitValue(encoded[i + 2]));
      i += 3;
    } else {
      out += '=';
      ++i;
    }
  }
  return out;
}

std::string DecodeBase64(std::string_view encoded) {
  std::string out;
  out.reserve(encoded.size() / 4 * 3 + 3);
  std::uint32_t bits = 0;
  int count = 0;
  for (const char c : encoded) {
    int value = -1;
    if (c >= 'A' && c <= 'Z') {
      value = c - 'A';
    } else if (c >= 'a' && c <= 'z') {
      value = c - 'a' + 26;
    } else if (c >= '0' && c <= '9') {
      value = c - '0' + 52;
    } else if (c == '+' || c == '-') {
      value = 62;
    } else if (c == '/' || c == '_') {
      value = 63;
    } else if (c == '=') {
      break;
    }
    if (value < 0) continue;
    bits = (bits << 6) | static_cast<std::uint32_t>(value);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 0xFF);
    }
  }
  return out;
}

}  // namespace tarn::text
