#include "ui/Dialog.h"

#include <vector>

namespace tarn::ui {

HINSTANCE Dialog::Instance() { return GetModuleHandleA(nullptr); }

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

LRESULT Dialog::SendItem(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
  return SendDlgItemMessageA(hwnd_, id, message, wParam, lParam);
}

void Dialog::CheckItem(int id, bool checked) const {
  SendItem(id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Dialog::IsItemChecked(int id) const { return SendItem(id, BM_GETCHECK) != BST_UNCHECKED; }

void Dialog::EnableItem(int id, bool enabled) const {
  if (HWND item = Item(id)) EnableWindow(item, enabled ? TRUE : FALSE);
}

void Dialog::ShowItem(int id, bool shown) const {
  if (HWND item = Item(id)) ShowWindow(item, shown ? SW_SHOW : SW_HIDE);
}

void Dialog::FocusItem(int id) const {
  SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
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

bool Dialog::OnNotify(int, NMHDR&, LRESULT&) { return false; }

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
  switch (message) {
    case WM_COMMAND: {
      HWND control = reinterpret_cast<HWND>(lParam);
      if (Control* reflected = control ? Control::FromHandle(control) : nullptr) {
        if (reflected->OnReflectedCommand(HIWORD(wParam))) return TRUE;
      }
      return self->OnCommand(LOWORD(wParam), HIWORD(wParam), control) ? TRUE : FALSE;
    }
    case WM_NOTIFY: {
      NMHDR& header = *reinterpret_cast<NMHDR*>(lParam);
      LRESULT result = 0;
      bool handled = false;
      if (Control* reflected = Control::FromHandle(header.hwndFrom))
        handled = reflected->OnReflectedNotify(header, result);
      if (!handled) handled = self->OnNotify(static_cast<int>(wParam), header, result);
      if (!handled) return FALSE;
      // A dialog procedure hands a notification's result back through DWLP_MSGRESULT.
      SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
      return TRUE;
    }
    case WM_TIMER:
      self->OnTimer(static_cast<UINT_PTR>(wParam));
      return FALSE;
    case WM_PAINT:
      return self->OnPaint() ? TRUE : FALSE;
    case WM_PRINTCLIENT:
      return self->OnPrintClient(reinterpret_cast<HDC>(wParam)) ? TRUE : FALSE;
    case WM_DESTROY:
      self->OnDestroy();
      break;
    default:
      break;
  }
  bool handled = false;
  const INT_PTR result = self->OnMessage(message, wParam, lParam, handled);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
  }
  return handled ? result : FALSE;
}

Font CopyDialogFont(HWND dialog, LONG weight, double scale) {
  HFONT current = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  LOGFONTA lf{};
  if (!current || GetObjectA(current, sizeof lf, &lf) == 0) {
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  }
  lf.lfFaceName[0] = '\0';
  lf.lfWeight = weight;
  lf.lfHeight = static_cast<LONG>(lf.lfHeight * scale);
  lf.lfWidth = static_cast<LONG>(lf.lfWidth * scale);
  return Font(CreateFontIndirectA(&lf));
}

void ApplyFont(HWND dialog, const Font& font, std::initializer_list<int> ids) {
  for (int id : ids) {
    SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  }
}

}  // namespace tarn::ui
