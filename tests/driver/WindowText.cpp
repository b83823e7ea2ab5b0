#include "WindowText.h"

#include <cstdio>
#include <vector>

namespace tarn::driver {

namespace {

constexpr UINT kAnswerTimeoutMs = 5000;

}  // namespace

std::string ClassName(HWND window) {
  char name[256] = {};
  const int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

std::string Caption(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::vector<char> buffer(length + 1);
  const int copied = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data(), copied > 0 ? copied : 0);
}

std::optional<std::string> ControlText(HWND control) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                           &length)) {
    return std::nullopt;
  }
  // WM_GETTEXTLENGTH may overstate the length of converted text, never understate it.
  std::vector<char> buffer(length + 1);
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(control, WM_GETTEXT, buffer.size(),
                           reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                           kAnswerTimeoutMs, &copied)) {
    return std::nullopt;
  }
  return std::string(buffer.data(), copied < buffer.size() ? copied : buffer.size() - 1);
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string narrow(size > 0 ? size : 0, '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &narrow[0], size,
                        nullptr, nullptr);
  }
  return narrow;
}

std::string FormatId(int id) {
  // Dialog templates keep IDs in 16 bits, so a label's -1 is 0xFFFF.
  const unsigned low = static_cast<unsigned>(id) & 0xFFFF;
  char text[32];
  std::snprintf(text, sizeof text, low >= 0x8000 ? "0x%X" : "%u", low);
  return text;
}

std::string FormatHandle(HWND window) {
  char text[32];
  std::snprintf(text, sizeof text, "%p", static_cast<void*>(window));
  return text;
}

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\r') {
      quoted += "\\r";
    } else if (c == '\n') {
      quoted += "\\n";
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

}  // namespace tarn::driver
