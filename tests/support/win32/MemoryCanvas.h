#pragma once
// A 32-bit memory canvas filled with one colour, so that GetPixel gives back exactly the colour
// drawn; for the tests of what pages and pictures paint.

#include <windows.h>

namespace tarn::test {

class MemoryCanvas {
 public:
  MemoryCanvas(int width, int height, COLORREF fill)
      : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
    const HBRUSH brush = CreateSolidBrush(fill);
    const RECT all{0, 0, width, height};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  ~MemoryCanvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;

  HDC Dc() const { return dc_; }
  bool Ready() const { return dc_ && bitmap_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  // Pixels of `colour` within rows [top, bottom).
  int Count(COLORREF colour, int top, int bottom) const {
    int n = 0;
    for (int y = top; y < bottom && y < height_; ++y)
      for (int x = 0; x < width_; ++x) n += At(x, y) == colour;
    return n;
  }
  // Whether every pixel still has `colour`.
  bool All(COLORREF colour) const { return Count(colour, 0, height_) == width_ * height_; }

 private:
  int width_;
  int height_;
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace tarn::test
