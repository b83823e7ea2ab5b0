#include "ui/Dialog.h"

#include <vector>

namespace tarn::ui {

namespace {

// The window property that leads from a control window to the object subclassing it.
constexpr const char* kControlProperty = "TarnControl";

}  // namespace

Dialog::~Dialog() {
  if (hwnd_ && !modal_) {
    HWND h = hwnd_;
    hwnd_ = nullptr;
    SetWindowLongPtrA(h, DWLP_USER, 0);
    DestroyWindow(h);
  }
}

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
  // WM_NCDESTROY detaches the object once its handlers have seen WM_DESTROY.
  if (hwnd_ && !modal_) DestroyWindow(hwnd_);
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

void Dialog::OnOK() {
  if (modal_) EndDialog(IDOK);
}

void Dialog::OnCancel() {
  if (modal_) EndDialog(IDCANCEL);
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

Control::~Control() { Detach(); }

bool Control::Attach(HWND dialog, int id) { return Attach(GetDlgItem(dialog, id)); }

bool Control::Attach(HWND control) {
  Detach();
  if (!control || GetPropA(control, kControlProperty)) return false;
  SetPropA(control, kControlProperty, this);
  previous_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::WindowProc)));
  hwnd_ = control;
  return true;
}

void Control::Detach() {
  if (!hwnd_) return;
  SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  RemovePropA(hwnd_, kControlProperty);
  hwnd_ = nullptr;
  previous_ = nullptr;
}

Control* Control::FromHandle(HWND control) {
  return static_cast<Control*>(GetPropA(control, kControlProperty));
}

bool Control::OnReflectedCommand(int) { return false; }

bool Control::OnReflectedNotify(NMHDR&, LRESULT&) { return false; }

bool Control::OnControlMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK Control::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Control* self = FromHandle(hwnd);
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  const WNDPROC previous = self->previous_;
  if (message == WM_NCDESTROY) {
    self->Detach();
    return CallWindowProcA(previous, hwnd, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (self->OnControlMessage(message, wParam, lParam, result)) return result;
  return CallWindowProcA(previous, hwnd, message, wParam, lParam);
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
