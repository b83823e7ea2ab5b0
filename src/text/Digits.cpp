#include "text/Digits.h"

#include <algorithm>

namespace tarn::text {

namespace {

std::string InBase(std::uint64_t value, int width, unsigned base, const char* digits) {
  std::string text;
  do {
    text += digits[value % base];
    value /= base;
  } while (value != 0);
  if (static_cast<int>(text.size()) < width) text.append(width - text.size(), '0');
  std::reverse(text.begin(), text.end());
  return text;
}

}  // namespace

std::string ZeroPadded(std::uint64_t value, int width) {
  return InBase(value, width, 10, "0123456789");
}

std::string HexDigits(std::uint64_t value, int width, bool upperCase) {
  return InBase(value, width, 16, upperCase ? "0123456789ABCDEF" : "0123456789abcdef");
}

}  // namespace tarn::text
