#pragma once
// A small dialog framework: a dialog built from a resource template, run modally or created as a
// modeless (child) window, with virtual handlers for the messages our dialogs care about.

#include <windows.h>

#include <string>

namespace tarn::ui {

class Dialog {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally; returns what EndDialog was given, or -1 when it could not be shown.
  INT_PTR DoModal(HWND owner = nullptr);
  // Creates the dialog as a modeless window (a child when the template says so).
  bool Create(HWND parent);
  void Destroy();

  HWND Hwnd() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& text) const;
  void EndDialog(INT_PTR result);

 protected:
  // Return true to let the system set the focus.
  virtual bool OnInitDialog() { return true; }
  // A WM_COMMAND; return true when handled.
  virtual bool OnCommand(int id, int code, HWND control);
  // Enter and Escape (and the buttons IDOK / IDCANCEL).
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  // Any other message; set `handled` and return the dialog result when the message is taken.
  virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

  static HINSTANCE Instance();

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  int templateId_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
};

// An owned GDI font.
class Font {
 public:
  Font() = default;
  explicit Font(HFONT font) : font_(font) {}
  ~Font() { Reset(); }
  Font(Font&& other) noexcept : font_(other.font_) { other.font_ = nullptr; }
  Font& operator=(Font&& other) noexcept;
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  HFONT Get() const { return font_; }
  void Reset(HFONT font = nullptr);

 private:
  HFONT font_ = nullptr;
};

// A copy of the dialog's font with the face name cleared and the given weight, as our dialogs
// use for their controls.
Font CopyDialogFont(HWND dialog, LONG weight);

// Gives every control of `ids` the font.
void ApplyFont(HWND dialog, const Font& font, std::initializer_list<int> ids);

}  // namespace tarn::ui
