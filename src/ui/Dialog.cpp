#include "ui/Dialog.h"

#include <vector>

namespace tarn::ui {

Dialog::~Dialog() { Destroy(); }

HINSTANCE Dialog::Instance() { return GetModuleHandleA(nullptr); }

INT_PTR Dialog::DoModal(HWND owner) {
  modal_ = true;
  const INT_PTR result = DialogBoxParamA(Instance(), MAKEINTRESOURCEA(templateId_), owner,
                                         &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
  hwnd_ = nullptr;
  return result;
}

bool Dialog::Create(HWND parent) {
  modal_ = false;
  return CreateDialogParamA(Instance(), MAKEINTRESOURCEA(templateId_), parent, &Dialog::DialogProc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::Destroy() {
  if (hwnd_ && !modal_) {
    HWND h = hwnd_;
    hwnd_ = nullptr;
    SetWindowLongPtrA(h, DWLP_USER, 0);
    DestroyWindow(h);
  }
}

std::string Dialog::ItemText(int id) const {
  HWND item = Item(id);
  const int length = item ? GetWindowTextLengthA(item) : 0;
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  if (item) GetWindowTextA(item, buffer.data(), length + 1);
  return std::string(buffer.data());
}

void Dialog::SetItemText(int id, const std::string& text) const {
  SetDlgItemTextA(hwnd_, id, text.c_str());
}

void Dialog::EndDialog(INT_PTR result) {
  if (!hwnd_) return;
  if (modal_)
    ::EndDialog(hwnd_, result);
  else
    Destroy();
}

bool Dialog::OnCommand(int id, int, HWND) {
  if (id == IDOK) {
    OnOK();
    return true;
  }
  if (id == IDCANCEL) {
    OnCancel();
    return true;
  }
  return false;
}

INT_PTR Dialog::OnMessage(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    return self->OnInitDialog() ? TRUE : FALSE;
  }
  self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_COMMAND) {
    return self->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE
                                                                                           : FALSE;
  }
  bool handled = false;
  const INT_PTR result = self->OnMessage(message, wParam, lParam, handled);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
  }
  return handled ? result : FALSE;
}

Font& Font::operator=(Font&& other) noexcept {
  if (this != &other) {
    Reset(other.font_);
    other.font_ = nullptr;
  }
  return *this;
}

void Font::Reset(HFONT font) {
  if (font_) DeleteObject(font_);
  font_ = font;
}

Font CopyDialogFont(HWND dialog, LONG weight) {
  HFONT current = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  LOGFONTA lf{};
  if (!current || GetObjectA(current, sizeof lf, &lf) == 0) {
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  }
  lf.lfFaceName[0] = '\0';
  lf.lfWeight = weight;
  return Font(CreateFontIndirectA(&lf));
}

void ApplyFont(HWND dialog, const Font& font, std::initializer_list<int> ids) {
  for (int id : ids) {
    SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  }
}

}  // namespace tarn::ui
