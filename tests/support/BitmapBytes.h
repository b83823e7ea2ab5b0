#pragma once
// Bitmap files for the drawing tests, encoded from a description of their pixels.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarn::test {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

struct BitmapSketch {
  int width = 1;
  int height = 1;
  int bitCount = 24;  // 1, 4, 8 (with `table`) or 24
  bool fileHeader = true;
  bool coreHeader = false;
  bool topDown = false;
  std::vector<Rgb> table;
  // Colour table index at (x, y), counted from the top-left; for 24 bits the colour itself
  // as 0xRRGGBB.
  std::function<std::uint32_t(int x, int y)> pixel;
};

std::string EncodeBitmap(const BitmapSketch& sketch);

}  // namespace tarn::test
