#include "ui/ModelessDialog.h"

namespace tarn::ui {

ModelessDialog::~ModelessDialog() {
  if (HWND h = Hwnd()) {
    SetWindowLongPtrA(h, DWLP_USER, 0);
    DestroyWindow(h);
  }
}

bool ModelessDialog::Create(HWND parent) {
  return CreateDialogParamA(Instance(), MAKEINTRESOURCEA(TemplateId()), parent, &Dialog::DialogProc,
                            reinterpret_cast<LPARAM>(static_cast<Dialog*>(this))) != nullptr;
}

void ModelessDialog::Destroy() {
  // WM_NCDESTROY detaches the object once its handlers have seen WM_DESTROY.
  if (HWND h = Hwnd()) DestroyWindow(h);
}

}  // namespace tarn::ui
