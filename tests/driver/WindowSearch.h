#pragma once
// Finding top-level windows by caption and controls by ID, across processes.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tarn::driver {

// How a caption given on the command line is compared with a window's caption.
struct CaptionPattern {
  std::string text;
  bool partial = false;  // the caption only has to contain `text`

  bool Matches(const std::string& caption) const;
};

// Every top-level window, in Z order; only the visible ones unless `includeHidden`.
std::vector<HWND> TopLevelWindows(bool includeHidden);
// Every descendant of `window` (children of child dialogs included), parents before children.
std::vector<HWND> Descendants(HWND window);

// The visible top-level windows whose captions match, front to back.
std::vector<HWND> FindTopLevels(const CaptionPattern& pattern);
// The first of them, or null.
HWND FindTopLevel(const CaptionPattern& pattern);

// A control of `top` (at any depth) with the given ID. Wizard pages may hold the same IDs, so a
// visible control is preferred to a hidden one. Null when there is none.
// With `className`, only controls of that window class (compared without regard to case).
HWND FindControl(HWND top, int id, const std::string& className = "");

// "1001", "0x3E9" or "-1" (the usual ID of labels, 0xFFFF in a dialog template).
std::optional<int> ParseControlId(const std::string& text);

}  // namespace tarn::driver
