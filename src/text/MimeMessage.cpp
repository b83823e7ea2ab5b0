#include "text/MimeMessage.h"

#include <optional>
#include <vector>

#include "text/AsciiChars.h"
#include "text/ByteText.h"
#include "text/TransferEncodings.h"

namespace tarn::text {

namespace {

// MIME parts nested deeper than this are not looked into.
constexpr int kMaxMimeDepth = 8;

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
    std::string_view param = TrimAsciiSpace(
        value.substr(pos + 1, next == std::string_view::npos ? npos : next - pos - 1));
    const std::size_t eq = param.find('=');
    if (eq != std::string_view::npos && AsciiLower(TrimAsciiSpace(param.substr(0, eq))) == wanted) {
      std::string_view v = TrimAsciiSpace(param.substr(eq + 1));
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
    const std::string name = AsciiLower(TrimAsciiSpace(std::string_view(field).substr(0, colon)));
    const std::string_view value = TrimAsciiSpace(std::string_view(field).substr(colon + 1));
    if (name == "content-type") {
      result.present = true;
      result.mediaType = AsciiLower(TrimAsciiSpace(value.substr(0, value.find(';'))));
      result.boundary = HeaderParameter(value, "boundary");
    } else if (name == "content-transfer-encoding") {
      result.transferEncoding = AsciiLower(value);
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
      out += kCrLf;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] == '\n') {
      out += kCrLf;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

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

}  // namespace tarn::text
