#include "text/HtmlReader.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "text/AsciiChars.h"
#include "text/ByteText.h"
#include "text/HtmlEntities.h"

namespace tarn::text {

namespace {

// Deeper lists are not indented further, so nesting cannot blow up the line length.
constexpr std::size_t kMaxListIndent = 8;

// Plain lines laid out like a browser: white space collapses into single spaces and never
// starts or ends a line; block elements ask for line ends, which are only written once text
// follows them.
class LineWriter {
 public:
  void Text(std::string_view chars) {
    if (chars.empty()) return;
    if (!out_.empty() && newlines_ < wantedNewlines_) {
      for (int i = newlines_; i < wantedNewlines_; ++i) out_ += kCrLf;
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
      for (int i = newlines_; i < wantedNewlines_; ++i) out_ += kCrLf;
      newlines_ = wantedNewlines_;
    }
    out_ += kCrLf;
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
    while (out_.size() >= kCrLf.size() &&
           out_.compare(out_.size() - kCrLf.size(), kCrLf.size(), kCrLf) == 0)
      out_.resize(out_.size() - kCrLf.size());
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
      } else if (IsAsciiSpace(c)) {
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
      if (c == '<' || c == '&' || IsAsciiSpace(c)) break;
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
               (n == '/' && !(next + 1 < html_.size() && IsAsciiAlpha(html_[next + 1])))) {
      // Declarations, processing instructions and bogus end tags.
      const std::size_t end = Find(">", next);
      pos_ = end == html_.size() ? end : end + 1;
    } else if (n == '/') {
      pos_ = next + 1;
      const std::string name = TagName();
      if (SkipAttributes()) EndTag(name);
    } else if (IsAsciiAlpha(n)) {
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
    while (pos_ < html_.size() && (IsAsciiAlnum(html_[pos_]) || html_[pos_] == '-' ||
                                   html_[pos_] == ':' || html_[pos_] == '_'))
      ++pos_;
    return AsciiLower(html_.substr(start, pos_ - start));
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
      } else if (!IsAsciiSpace(c)) {
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
      while (k < name.size() && i + k < html_.size() && AsciiLowerChar(html_[i + k]) == name[k])
        ++k;
      if (k == name.size() && (i + k == html_.size() || !IsAsciiAlnum(html_[i + k]))) {
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
      const int digit =
          hex ? HexDigitValue(html_[i]) : (IsAsciiDigit(html_[i]) ? html_[i] - '0' : -1);
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
    return NumericEntityValue(value, overflow);
  }

  std::optional<char32_t> NamedEntityAt(std::size_t from, std::size_t& end) const {
    std::size_t i = from;
    while (i < html_.size() && i - from < 32 && IsAsciiAlnum(html_[i])) ++i;
    const std::string_view name = html_.substr(from, i - from);
    if (name.empty()) return std::nullopt;
    const bool semicolon = i < html_.size() && html_[i] == ';';
    const std::optional<char32_t> value = NamedEntityValue(name, semicolon);
    if (value) end = semicolon ? i + 1 : i;
    return value;
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

}  // namespace

std::string HtmlToText(std::string_view html, std::uint32_t codePage,
                       const CodePointEncoder& encode) {
  return HtmlReader(html, codePage, encode).Read();
}

}  // namespace tarn::text
