#pragma once
// Numbers written as text without the C runtime's printf family, whose portable implementation
// alone would be a tenth of the setup program.

#include <cstdint>
#include <string>

namespace tarn::text {

// `value` in decimal, with leading zeros up to `width` digits.
std::string ZeroPadded(std::uint64_t value, int width = 1);
// `value` in hexadecimal, with leading zeros up to `width` digits.
std::string HexDigits(std::uint64_t value, int width, bool upperCase);

}  // namespace tarn::text
