#pragma once
// An edit control whose text is mirrored in a member string on every change, so its owner can
// read the text without asking the window.

#include <string>

#include "ui/Control.h"

namespace tarn::ui {

class CSyncEdit : public Control {
 public:
  const std::string& Text() const { return text_; }
  // Sets the window's text; the member follows through the change notification.
  void SetText(const std::string& text);

  bool OnReflectedCommand(int code) override;

 private:
  std::string text_;
};

}  // namespace tarn::ui
