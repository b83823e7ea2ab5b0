#pragma once
// Draws a bitmap file at its natural size, or scaled into an area, reading it afresh on every
// call.

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

// How a picture smaller than its area is scaled into it.
enum class Scaling {
  Fill,        // to the whole area
  KeepAspect,  // as large as fits, centred
};

// The rectangle a picture of `picture` size takes in `area`: scaled up as `scaling` says
// when it fits inside the area without filling it, otherwise at its natural size at the
// area's top-left corner.
RECT PictureRectIn(PictureSize picture, const RECT& area, Scaling scaling);

// Like DrawBitmapFile, into the rectangle PictureRectIn gives, scaled with a smooth filter.
std::optional<PictureSize> DrawBitmapFileIn(const std::string& path, HDC dc, const RECT& area,
                                            Scaling scaling);

// The size of the bitmap in `path` without drawing it; nothing when it cannot be read.
std::optional<PictureSize> BitmapFileSize(const std::string& path);

}  // namespace tarn::pictures
