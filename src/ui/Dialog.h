#pragma once
// A small dialog framework: a dialog built from a resource template, with item helpers and
// virtual handlers for the messages our dialogs care about. ModalDialog runs one modally,
// ModelessDialog creates one as a (child) window. Notifications of controls that a Control
// object subclasses are offered to that object first ("reflection"), so a control class can
// keep its own state in step.

#include <windows.h>

#include <commctrl.h>

#include <initializer_list>
#include <string>

#include "platform/win32/Win32Toolkit.h"
#include "ui/Control.h"

namespace tarn::ui {

class Dialog {
 public:
  virtual ~Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  HWND Hwnd() const { return hwnd_; }

  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& text) const;
  LRESULT SendItem(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  void CheckItem(int id, bool checked) const;
  // Ticked or undetermined.
  bool IsItemChecked(int id) const;
  void EnableItem(int id, bool enabled) const;
  void ShowItem(int id, bool shown) const;
  // Moves the focus to the item the way the dialog's own keyboard handling does.
  void FocusItem(int id) const;

 protected:
  explicit Dialog(int templateId) : templateId_(templateId) {}

  // Return true to let the system set the focus.
  virtual bool OnInitDialog() { return true; }
  // A WM_COMMAND; return true when handled. IDOK and IDCANCEL go to OnOK and OnCancel.
  virtual bool OnCommand(int id, int code, HWND control);
  // A WM_NOTIFY not taken by the control itself; set `result` and return true when handled.
  virtual bool OnNotify(int id, NMHDR& header, LRESULT& result);
  // Enter and Escape (and the buttons IDOK / IDCANCEL).
  virtual void OnOK() = 0;
  virtual void OnCancel() = 0;
  // A timer of the dialog's window fired; the system's own processing follows in any case.
  virtual void OnTimer(UINT_PTR) {}
  // WM_PAINT: return true once painted (through a PaintScope of the handler's own), false to
  // leave the painting to the system.
  virtual bool OnPaint() { return false; }
  // WM_PRINTCLIENT: return true once the client area is drawn on `dc`.
  virtual bool OnPrintClient(HDC) { return false; }
  // While the window is being destroyed; the object is still attached.
  virtual void OnDestroy() {}
  // Any other message; set `handled` and return the dialog result when the message is taken.
  virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

  int TemplateId() const { return templateId_; }
  static HINSTANCE Instance();
  // The procedure for DialogBoxParam / CreateDialogParam, given the object as the parameter.
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  int templateId_;
  HWND hwnd_ = nullptr;
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
