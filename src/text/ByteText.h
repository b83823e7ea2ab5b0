#pragma once
// Helpers for the 8-bit text the installer handles: project documents, language sections and
// paths are bytes in the system's ANSI code page (GB2312/GBK, Big5, Shift-JIS, UHC or a
// single-byte page). Searches for ASCII delimiters must never match the trail byte of a
// double-byte character (Big5 0xB3 0x5C contains a backslash byte).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::text {

constexpr std::size_t npos = std::string_view::npos;

// Code pages with double-byte characters that the installer knows.
constexpr std::uint32_t kCodePageGbk = 936;
constexpr std::uint32_t kCodePageShiftJis = 932;
constexpr std::uint32_t kCodePageUhc = 949;
constexpr std::uint32_t kCodePageBig5 = 950;

// True when `byte` starts a double-byte character in `codePage`.
bool IsLeadByte(unsigned char byte, std::uint32_t codePage);

// Upper-cases the ASCII letters a-z and leaves every other byte alone.
std::string AsciiUpper(std::string_view text);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);
// The value of a hexadecimal digit in either case; -1 for any other byte.
int HexDigitValue(char c);
// `text` between double quotes: a path with blanks on a command line, a name in the log.
std::string Quoted(std::string_view text);

// Position of the first `c` at or after `from` that is a whole character, or npos.
// `from` must lie on a character boundary.
std::size_t FindChar(std::string_view text, char c, std::uint32_t codePage, std::size_t from = 0);
// Position of the first occurrence of `needle` that starts on a character boundary.
std::size_t FindText(std::string_view text, std::string_view needle, std::uint32_t codePage,
                     std::size_t from = 0);
// Whether `needle` occurs in `text` starting on a character boundary, ASCII letters in any case.
bool ContainsIgnoreAsciiCase(std::string_view text, std::string_view needle,
                             std::uint32_t codePage);
// Position of the last `c` that is a whole character, or npos.
std::size_t FindLastChar(std::string_view text, char c, std::uint32_t codePage);
// The text after the last "." of `path` (even where a folder name holds that dot); "" when it
// has none.
std::string FileExtension(std::string_view path, std::uint32_t codePage);

// Splits at CR LF. Nothing is trimmed; a lone CR or LF stays part of its line. A final CR LF
// ends the last line rather than starting an empty one.
std::vector<std::string> SplitCrLfLines(std::string_view text);

// Decimal reading like the C runtime's atoi family: leading blanks skipped, an optional sign,
// digits up to the first non-digit; no digits gives 0. Out-of-range values saturate.
std::int64_t ParseDecimal64(std::string_view text);
std::int32_t ParseDecimal32(std::string_view text);
// The value of a decimal text such as "5.4", read like the C runtime's atof.
double ParseDecimalFraction(const std::string& text);

}  // namespace tarn::text
