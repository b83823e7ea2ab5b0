#pragma once
// Reading names and texts of windows that belong to another process.

#include <windows.h>

#include <optional>
#include <string>

namespace tarn::driver {

// The window class name ("Button", "#32770", ...).
std::string ClassName(HWND window);
// A top-level window's caption as the window manager knows it; never waits for the window.
std::string Caption(HWND window);
// A control's text. GetWindowText does not ask a window of another process, so this sends
// WM_GETTEXT (with a time-out, in case the owner hangs). Nothing when the owner did not answer.
std::optional<std::string> ControlText(HWND control);
// UTF-16 text in the ANSI code page, as the rest of the driver handles text.
std::string Narrow(const std::wstring& wide);
// The control ID written as the tests write it: decimal, and hex when it is large (0xFFFF).
std::string FormatId(int id);
// A window handle as listings and timelines print it.
std::string FormatHandle(HWND window);
// Text in double quotes, with CR and LF written as \r and \n so one line stays one line.
std::string Quoted(const std::string& text);

}  // namespace tarn::driver
