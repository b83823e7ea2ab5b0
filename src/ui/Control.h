#pragma once
// A control window subclassed by an object of ours. Its parent dialog offers it the control's
// own WM_COMMAND and WM_NOTIFY notifications before handling them itself.

#include <windows.h>

#include <commctrl.h>

namespace tarn::ui {

class Control {
 public:
  Control() = default;
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // Subclasses the control `id` of `dialog`; false when there is no such control.
  bool Attach(HWND dialog, int id);
  bool Attach(HWND control);
  void Detach();
  HWND Hwnd() const { return hwnd_; }

  // The object subclassing `control`, or null.
  static Control* FromHandle(HWND control);

  // A notification the control sent its parent. Return true to keep it from the parent.
  virtual bool OnReflectedCommand(int code);
  virtual bool OnReflectedNotify(NMHDR& header, LRESULT& result);

 protected:
  // A message to the control window itself; return true when handled (with `result`).
  virtual bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
  WNDPROC previous_ = nullptr;
};

}  // namespace tarn::ui
