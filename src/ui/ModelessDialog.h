#pragma once
// A dialog created as a window of its own (a child when the template says so). It never ends
// itself on Enter or Escape, since that would destroy a window its owner still uses.

#include "ui/Dialog.h"

namespace tarn::ui {

class ModelessDialog : public Dialog {
 public:
  explicit ModelessDialog(int templateId) : Dialog(templateId) {}
  // A window still open is destroyed without reaching the derived class's handlers, which are
  // gone by then; call Destroy while the object is whole.
  ~ModelessDialog() override;

  bool Create(HWND parent);
  // Destroys the window; the object sees WM_DESTROY on the way.
  void Destroy();

 protected:
  void OnOK() override {}
  void OnCancel() override {}
};

}  // namespace tarn::ui
