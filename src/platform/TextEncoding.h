#pragma once
// Text for readers outside the program's own code page (the installation log).

#include <cstdint>
#include <string>
#include <string_view>

namespace tarn::platform {

// `text`, bytes in the ANSI code page `codePage`, as UTF-8. Bytes that are no character there
// become U+FFFD, so the result is always valid UTF-8.
std::string AnsiToUtf8(std::string_view text, std::uint32_t codePage);

}  // namespace tarn::platform
