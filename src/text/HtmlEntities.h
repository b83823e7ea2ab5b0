#pragma once
// The character references of HTML: the named entities a document is likely to use, numeric
// references as browsers read them, and ASCII stand-ins for characters a code page lacks.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tarn::text {

// The character "&name" names; `semicolon` says whether a ';' closed the name. Nothing for an
// unknown name, or for a name that needs its semicolon and lacks it.
std::optional<char32_t> NamedEntityValue(std::string_view name, bool semicolon);

// The character a numeric reference "&#value;" gives: U+FFFD for 0, a surrogate or a value past
// U+10FFFF (`overflow`), and the Windows-1252 characters for 128-159.
char32_t NumericEntityValue(std::uint32_t value, bool overflow);

// What to write for a character the code page lacks: "(c)" for the copyright sign, "?" for
// most, nothing for a soft hyphen.
std::string_view AsciiStandIn(char32_t c);

}  // namespace tarn::text
