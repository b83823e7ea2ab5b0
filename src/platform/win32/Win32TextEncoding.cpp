#include <windows.h>

#include <climits>
#include <vector>

#include "platform/TextEncoding.h"

namespace tarn::platform {

std::string AnsiToUtf8(std::string_view text, std::uint32_t codePage) {
  if (text.empty() || text.size() > INT_MAX / 4) return {};
  const int length = static_cast<int>(text.size());
  const int wide = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (wide <= 0) return {};
  std::vector<wchar_t> utf16(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), length, utf16.data(), wide);
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

}  // namespace tarn::platform
