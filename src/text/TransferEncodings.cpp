#include "text/TransferEncodings.h"

#include <cstdint>

#include "text/ByteText.h"

namespace tarn::text {

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
