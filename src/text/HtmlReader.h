#pragma once
// The readable text of an HTML document, as a browser would lay it out in plain lines. Used
// where no HTML engine can render a document, so that a user can still read it.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tarn::text {

// Writes one Unicode code point as bytes of the text's code page; empty when that code page
// has no such character.
using CodePointEncoder = std::function<std::string(char32_t)>;

// Tags removed, script, style and title content dropped, entities decoded (characters the
// encoder cannot write get an ASCII stand-in or "?"), white space collapsed, block elements on
// lines of their own and paragraphs separated by an empty line. Lines end with CR LF. The
// document's own bytes are taken to be in `codePage`; trail bytes of its double-byte
// characters are never read as markup. Without an encoder only ASCII is written for entities.
std::string HtmlToText(std::string_view html, std::uint32_t codePage,
                       const CodePointEncoder& encode = {});

}  // namespace tarn::text
