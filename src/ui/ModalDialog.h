#pragma once
// A dialog run modally: RunModal returns once the dialog ends itself, by Enter and Escape
// unless a derived class says otherwise.

#include "ui/Dialog.h"

namespace tarn::ui {

class ModalDialog : public Dialog {
 public:
  explicit ModalDialog(int templateId) : Dialog(templateId) {}

  // Returns what EndDialog was given, or -1 when the dialog could not be shown.
  INT_PTR RunModal(HWND owner = nullptr);
  void EndDialog(INT_PTR result);

 protected:
  void OnOK() override { EndDialog(IDOK); }
  void OnCancel() override { EndDialog(IDCANCEL); }
};

}  // namespace tarn::ui
