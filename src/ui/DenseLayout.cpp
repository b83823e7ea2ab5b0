#include "ui/DenseLayout.h"

#include <algorithm>

namespace tarn::ui {

namespace {

constexpr int kDesignDpi = 120;
// Pixels a dialog unit at the design density.
constexpr int kDesignPixelsPerUnit = 2;

// Maps rectangles between the dialog font's pixels and the proportional ones.
class UnitMap {
 public:
  UnitMap(HWND dialog, int logPixelsY) : logPixelsY_(logPixelsY) {
    RECT base{0, 0, 4, 8};
    MapDialogRect(dialog, &base);
    baseX_ = base.right;
    baseY_ = base.bottom;
  }
  bool Valid() const { return baseX_ > 0 && baseY_ > 0; }

  // The dialog manager turns a template's position and size into pixels one by one, so they
  // are turned back one by one, exactly while the font's units exceed four and eight pixels.
  RECT Dense(const RECT& fontPixels) const {
    const int left = X(fontPixels.left);
    const int top = Y(fontPixels.top);
    return RECT{left, top, left + X(fontPixels.right - fontPixels.left),
                top + Y(fontPixels.bottom - fontPixels.top)};
  }

 private:
  // Back to dialog units, as the dialog manager multiplies them, then out at the proportional
  // scale.
  int X(LONG pixels) const { return DenseUnitsToPixels(MulDiv(pixels, 4, baseX_), logPixelsY_); }
  int Y(LONG pixels) const { return DenseUnitsToPixels(MulDiv(pixels, 8, baseY_), logPixelsY_); }

  int logPixelsY_;
  int baseX_ = 0;
  int baseY_ = 0;
};

bool IsComboBox(HWND window) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  return lstrcmpiA(name, "ComboBox") == 0;
}

RECT RectIn(HWND window, HWND parent) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

bool IsDenseDisplay(int logPixelsY) { return logPixelsY > kDesignDpi; }

int DenseUnitsToPixels(int dialogUnits, int logPixelsY) {
  return MulDiv(dialogUnits, kDesignPixelsPerUnit * logPixelsY, kDesignDpi);
}

void LayOutForDensity(HWND dialog, int logPixelsY, SIZE area) {
  if (!IsDenseDisplay(logPixelsY)) return;
  const UnitMap map(dialog, logPixelsY);
  if (!map.Valid()) return;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect = RectIn(child, dialog);
    const bool combo = IsComboBox(child);
    // A drop-down combo box's window is its closed field; its template height is that of the
    // open list, which may reach past the page.
    RECT list{};
    if (combo && SendMessageA(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list)))
      rect.bottom = rect.top + (list.bottom - list.top);
    RECT dense = map.Dense(rect);
    dense.right = std::min<LONG>(dense.right, area.cx);
    if (!combo) dense.bottom = std::min<LONG>(dense.bottom, area.cy);
    SetWindowPos(child, nullptr, dense.left, dense.top, std::max<LONG>(0, dense.right - dense.left),
                 std::max<LONG>(0, dense.bottom - dense.top), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void FitDialogToDensity(HWND dialog, int logPixelsY) {
  if (!IsDenseDisplay(logPixelsY)) return;
  const UnitMap map(dialog, logPixelsY);
  if (!map.Valid()) return;
  RECT client{};
  GetClientRect(dialog, &client);
  const RECT dense = map.Dense(client);
  RECT frame = dense;
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
  RECT window{};
  GetWindowRect(dialog, &window);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = std::max(0, static_cast<int>(window.left + window.right - width) / 2);
  const int top = std::max(0, static_cast<int>(window.top + window.bottom - height) / 2);
  SetWindowPos(dialog, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOutForDensity(dialog, logPixelsY, SIZE{dense.right - dense.left, dense.bottom - dense.top});
}

}  // namespace tarn::ui
