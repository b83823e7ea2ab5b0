#pragma once
// A small dialog framework: a dialog built from a resource template, run modally or created as a
// modeless (child) window, with virtual handlers for the messages our dialogs care about.
// Notifications of controls that a Control object subclasses are offered to that object first
// ("reflection"), so a control class can keep its own state in step.

#include <windows.h>

#include <commctrl.h>

#include <initializer_list>
#include <string>

#include "platform/win32/Win32Toolkit.h"

namespace tarn::ui {

class Dialog {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  // A window still open is destroyed without reaching the derived class's handlers, which are
  // gone by then; destroy modeless dialogs explicitly while the object is whole.
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally; returns what EndDialog was given, or -1 when it could not be shown.
  INT_PTR DoModal(HWND owner = nullptr);
  // Creates the dialog as a modeless window (a child when the template says so).
  bool Create(HWND parent);
  // Destroys a modeless dialog's window; the object sees WM_DESTROY on the way.
  void Destroy();

  HWND Hwnd() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& text) const;
  // Ends a modal dialog with `result`; destroys a modeless one.
  void EndDialog(INT_PTR result);
  bool IsModal() const { return modal_; }

 protected:
  // Return true to let the system set the focus.
  virtual bool OnInitDialog() { return true; }
  // A WM_COMMAND; return true when handled.
  virtual bool OnCommand(int id, int code, HWND control);
  // A WM_NOTIFY not taken by the control itself; set `result` and return true when handled.
  virtual bool OnNotify(int id, NMHDR& header, LRESULT& result);
  // Enter and Escape (and the buttons IDOK / IDCANCEL). A modal dialog ends; a modeless one
  // stays, since ending it would destroy a window its owner still uses.
  virtual void OnOK();
  virtual void OnCancel();
  // While the window is being destroyed; the object is still attached.
  virtual void OnDestroy() {}
  // Any other message; set `handled` and return the dialog result when the message is taken.
  virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

  static HINSTANCE Instance();

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  int templateId_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
};

// A control window subclassed by an object of ours. Its parent dialog offers it the control's
// own WM_COMMAND and WM_NOTIFY notifications before handling them itself.
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

// Owned GDI objects and the selection scope come from the Win32 toolkit.
using platform::Brush;
using platform::Font;
using platform::Pen;
using platform::SelectObjectScope;

// A copy of the dialog's font with the face name cleared and the given weight, as our dialogs
// use for their controls; `scale` multiplies its height and width (truncated).
Font CopyDialogFont(HWND dialog, LONG weight, double scale = 1.0);

// Gives every control of `ids` the font.
void ApplyFont(HWND dialog, const Font& font, std::initializer_list<int> ids);

}  // namespace tarn::ui
