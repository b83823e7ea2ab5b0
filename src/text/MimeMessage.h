#pragma once
// MIME web archives (MHT): the HTML part of a message, and the readable text of the whole.

#include <cstdint>
#include <string>
#include <string_view>

#include "text/HtmlReader.h"

namespace tarn::text {

// The first text/html part of a MIME document, its transfer encoding (quoted-printable or
// base64) undone; empty when it has none.
std::string MhtHtmlPart(std::string_view mht);

// The text of a web archive: its HTML part as HtmlToText gives it, else its first plain-text
// part. Input without MIME headers is read as HTML.
std::string MhtToText(std::string_view mht, std::uint32_t codePage,
                      const CodePointEncoder& encode = {});

}  // namespace tarn::text
