#include "Layout.h"

#include "WindowText.h"

namespace tarn::driver {

namespace {

struct Placed {
  HWND window;
  RECT rect;
  std::string name;
};

bool IsDialog(HWND window) { return ClassName(window) == "#32770"; }

bool IsGroupBox(HWND window) {
  return ClassName(window) == "Button" &&
         (GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

bool ShownByStyle(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

std::string Describe(HWND window) {
  return "id=" + FormatId(GetDlgCtrlID(window)) + " class=" + ClassName(window);
}

std::string Format(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
         std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

RECT RectIn(HWND window, HWND parent) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

void Examine(HWND dialog, int depth, LayoutReport& report) {
  RECT client{};
  GetClientRect(dialog, &client);
  const std::string indent(2 * depth, ' ');
  const std::string where = depth == 0 ? "the window" : "page " + Describe(dialog);
  report.listing += indent + (depth == 0 ? "window" : Describe(dialog)) +
                    " caption=" + Quoted(Caption(dialog)) + " client=" + Format(client) +
                    (ShownByStyle(dialog) ? "" : " hidden") + "\n";
  std::vector<Placed> controls;
  std::vector<HWND> pages;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const bool page = IsDialog(child);
    if (!page && !ShownByStyle(child)) continue;
    const Placed placed{child, RectIn(child, dialog), Describe(child)};
    if (!page) report.listing += indent + "  " + placed.name + " at " + Format(placed.rect) + "\n";
    if (!Inside(placed.rect, client))
      report.faults.push_back(placed.name + " at " + Format(placed.rect) +
                              " leaves the client area " + Format(client) + " of " + where);
    if (page)
      pages.push_back(child);
    else if (!IsGroupBox(child))
      controls.push_back(placed);
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      RECT common{};
      if (IntersectRect(&common, &controls[i].rect, &controls[j].rect))
        report.faults.push_back(controls[i].name + " at " + Format(controls[i].rect) +
                                " overlaps " + controls[j].name + " at " +
                                Format(controls[j].rect) + " on " + where);
    }
  }
  for (HWND page : pages) Examine(page, depth + 1, report);
}

}  // namespace

LayoutReport CheckLayout(HWND top) {
  LayoutReport report;
  Examine(top, 0, report);
  return report;
}

}  // namespace tarn::driver
