#pragma once
// The layout check: where a window's controls are, and whether each stays inside the client
// area of the dialog it belongs to (the window itself, or one of its pages) without covering
// another control there.

#include <windows.h>

#include <string>
#include <vector>

namespace tarn::driver {

struct LayoutReport {
  // One line per dialog and per control, with its rectangle in its dialog's client area.
  std::string listing;
  // What is out of place, one sentence each; empty when all is well.
  std::vector<std::string> faults;
};

// Looks at `top` and every child dialog inside it, shown or hidden (so that one look covers
// every page a wizard has made), and at their controls that are shown by their own style.
// Group boxes hold other controls and are not checked for overlap.
LayoutReport CheckLayout(HWND top);

}  // namespace tarn::driver
