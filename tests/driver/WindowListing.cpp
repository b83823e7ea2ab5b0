#include "WindowListing.h"

#include <cstdio>

#include "Controls.h"
#include "WindowSearch.h"
#include "WindowText.h"

namespace tarn::driver {

namespace {

std::string States(HWND window) {
  std::string states = IsWindowVisible(window) ? "visible" : "hidden";
  states += IsWindowEnabled(window) ? " enabled" : " disabled";
  if (ClassName(window) == "Button") {
    const LONG kind = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
    const bool checkable = kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE ||
                           kind == BS_AUTO3STATE || kind == BS_RADIOBUTTON ||
                           kind == BS_AUTORADIOBUTTON;
    if (checkable) {
      const auto state = CheckState(window);
      if (state == BST_CHECKED) states += " checked";
      if (state == BST_UNCHECKED) states += " unchecked";
      if (state == BST_INDETERMINATE) states += " indeterminate";
    }
  }
  return states;
}

std::string WindowSize(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
}

int Depth(HWND window, HWND top) {
  int depth = 0;
  for (HWND w = window; w && w != top; w = GetAncestor(w, GA_PARENT)) ++depth;
  return depth;
}

}  // namespace

std::string ListTopLevelWindows(bool includeHidden) {
  std::string listing;
  for (HWND window : TopLevelWindows(includeHidden)) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    listing += FormatHandle(window) + " class=" + ClassName(window) +
               " caption=" + Quoted(Caption(window)) +
               " owner=" + FormatHandle(GetWindow(window, GW_OWNER)) +
               " pid=" + std::to_string(process) + " " + States(window) + " size=" +
               WindowSize(window) + "\n";
  }
  return listing;
}

std::string ListWindowTree(HWND top) {
  std::string listing = FormatHandle(top) + " class=" + ClassName(top) +
                        " caption=" + Quoted(Caption(top)) + " " + States(top) + "\n";
  for (HWND child : Descendants(top)) {
    const auto text = VisibleText(child);
    listing += std::string(2 * Depth(child, top), ' ') + "id=" + FormatId(GetDlgCtrlID(child)) +
               " class=" + ClassName(child) + " text=" + (text ? Quoted(*text) : "(no answer)") +
               " " + States(child) + "\n";
  }
  return listing;
}

}  // namespace tarn::driver
