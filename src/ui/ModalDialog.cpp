#include "ui/ModalDialog.h"

namespace tarn::ui {

INT_PTR ModalDialog::RunModal(HWND owner) {
  return DialogBoxParamA(Instance(), MAKEINTRESOURCEA(TemplateId()), owner, &Dialog::DialogProc,
                         reinterpret_cast<LPARAM>(static_cast<Dialog*>(this)));
}

void ModalDialog::EndDialog(INT_PTR result) {
  if (Hwnd()) ::EndDialog(Hwnd(), result);
}

}  // namespace tarn::ui
