#include "MessageBoxes.h"

#include <string>
#include <utility>

#include "WindowText.h"

namespace tarn::driver {

namespace {

constexpr int kMessageTextId = 0xFFFF;

// A box is a dialog holding only labels and buttons, its text in the label 0xFFFF. Other
// dialogs use 0xFFFF for their labels too, but hold edit boxes or child pages as well.
bool LooksLikeMessageBox(HWND window) {
  if (!IsWindowEnabled(window) || ClassName(window) != "#32770") return false;
  const HWND text = GetDlgItem(window, kMessageTextId);
  if (!text || ClassName(text) != "Static") return false;
  bool hasButton = false;
  for (HWND child : Descendants(window)) {
    const std::string name = ClassName(child);
    if (name == "Button") {
      hasButton = true;
    } else if (name != "Static") {
      return false;
    }
  }
  return hasButton;
}

}  // namespace

HWND FindMessageBox(const BoxQuery& query) {
  for (HWND window : TopLevelWindows(false)) {
    if (!LooksLikeMessageBox(window)) continue;
    const HWND owner = GetWindow(window, GW_OWNER);
    if (query.byOwnCaption) {
      if (query.pattern.Matches(Caption(window))) return window;
    } else if (owner && query.pattern.Matches(Caption(owner))) {
      return window;
    }
  }
  return nullptr;
}

std::optional<std::string> MessageText(HWND box) {
  const HWND text = GetDlgItem(box, kMessageTextId);
  if (!text) return std::nullopt;
  return ControlText(text);
}

std::optional<int> AnswerButtonId(const std::string& answer) {
  static const std::pair<const char*, int> kAnswers[] = {
      {"ok", IDOK},       {"cancel", IDCANCEL}, {"yes", IDYES},      {"no", IDNO},
      {"abort", IDABORT}, {"retry", IDRETRY},   {"ignore", IDIGNORE}};
  for (const auto& [name, id] : kAnswers) {
    if (lstrcmpiA(answer.c_str(), name) == 0) return id;
  }
  return std::nullopt;
}

}  // namespace tarn::driver
