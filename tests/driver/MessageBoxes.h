#pragma once
// Message boxes: dialogs of class #32770 whose text is the static with ID 0xFFFF. They usually
// carry the caption of the window that opened them, so they are told apart by their owner.

#include <windows.h>

#include <optional>
#include <string>

#include "WindowSearch.h"

namespace tarn::driver {

// Where to look for a box: one owned by a window with the caption, or (`byOwnCaption`) one whose
// own caption matches.
struct BoxQuery {
  CaptionPattern pattern;
  bool byOwnCaption = false;
};

// A visible, enabled message box matching the query, or null.
HWND FindMessageBox(const BoxQuery& query);

// The box's message text.
std::optional<std::string> MessageText(HWND box);

// "ok", "cancel", "yes", "no", "abort", "retry", "ignore" as the button ID (IDOK, ...).
std::optional<int> AnswerButtonId(const std::string& answer);

}  // namespace tarn::driver
