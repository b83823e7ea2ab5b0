#include "ui/SyncEdit.h"

#include <vector>

namespace tarn::ui {

void CSyncEdit::SetText(const std::string& text) {
  if (Hwnd()) SetWindowTextA(Hwnd(), text.c_str());
  // Without a window there is no notification; keep the member right all the same.
  text_ = text;
}

bool CSyncEdit::OnReflectedCommand(int code) {
  if (code == EN_CHANGE) {
    const int length = GetWindowTextLengthA(Hwnd());
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(Hwnd(), buffer.data(), length + 1);
    text_.assign(buffer.data());
  }
  // The parent may want the notification as well.
  return false;
}

}  // namespace tarn::ui
