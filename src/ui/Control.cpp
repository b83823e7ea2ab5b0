#include "ui/Control.h"

namespace tarn::ui {

namespace {

// The window property that leads from a control window to the object subclassing it.
constexpr const char* kControlProperty = "TarnControl";

}  // namespace

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

}  // namespace tarn::ui
