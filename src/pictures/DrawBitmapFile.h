#pragma once
// Draws a bitmap file at its natural size, reading it afresh on every call.

#include <windows.h>

#include <optional>
#include <string>

namespace tarn::pictures {

struct PictureSize {
  int width = 0;
  int height = 0;
};

// Draws the bitmap in `path` with its top-left corner at (x, y) and gives its size; draws
// nothing and gives nothing when the file cannot be read or is not a bitmap we accept.
std::optional<PictureSize> DrawBitmapFile(const std::string& path, HDC dc, int x, int y);

}  // namespace tarn::pictures
