#ifdef _WIN32
#include "pictures/DrawBitmapFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/BitmapBytes.h"
#include "support/ScratchFolder.h"
#include "support/win32/MemoryCanvas.h"

namespace tarn::pictures {
namespace {

using test::BitmapSketch;
using test::Rgb;

constexpr COLORREF kBackground = RGB(17, 34, 51);
constexpr int kCanvas = 40;
constexpr int kLeft = 2;
constexpr int kTop = 3;

// A canvas of kCanvas × kCanvas pixels, all of the background colour.
struct Canvas : tarn::test::MemoryCanvas {
  Canvas() : MemoryCanvas(kCanvas, kCanvas, kBackground) {}
  bool Untouched() const { return All(kBackground); }
};

COLORREF ToColorRef(const Rgb& c) { return RGB(c.red, c.green, c.blue); }

const std::vector<Rgb> kFour = {{200, 0, 0}, {0, 160, 0}, {0, 0, 240}, {250, 250, 10}};

std::vector<Rgb> Ramp(int count) {
  std::vector<Rgb> table;
  for (int i = 0; i < count; ++i) {
    table.push_back({static_cast<std::uint8_t>(i * 16), static_cast<std::uint8_t>(255 - i * 8),
                     static_cast<std::uint8_t>(i * 5 + 3)});
  }
  return table;
}

struct DrawCase {
  const char* name;
  BitmapSketch sketch;
};

std::vector<DrawCase> DrawCases() {
  const auto trueColour = [](int x, int y) {
    return static_cast<std::uint32_t>((x * 60) << 16 | (y * 70) << 8 | 200);
  };
  std::vector<DrawCase> cases;
  {
    BitmapSketch s;
    s.width = 5;
    s.height = 3;
    s.pixel = trueColour;
    cases.push_back({"24-bit bottom-up", s});
    s.topDown = true;
    cases.push_back({"24-bit top-down", s});
    s.topDown = false;
    s.fileHeader = false;
    cases.push_back({"24-bit without file header", s});
  }
  {
    BitmapSketch s;
    s.width = 7;
    s.height = 4;
    s.bitCount = 8;
    s.table = kFour;
    s.pixel = [](int x, int y) { return static_cast<std::uint32_t>((x + 2 * y) % 4); };
    cases.push_back({"8-bit with a palette of four", s});
  }
  {
    BitmapSketch s;
    s.width = 9;
    s.height = 2;
    s.bitCount = 1;
    s.table = {kFour[1], kFour[3]};
    s.pixel = [](int x, int y) { return static_cast<std::uint32_t>((x + y) % 2); };
    cases.push_back({"1-bit", s});
  }
  {
    BitmapSketch s;
    s.width = 5;
    s.height = 4;
    s.bitCount = 4;
    s.coreHeader = true;
    s.fileHeader = false;
    s.table = Ramp(16);
    s.pixel = [](int x, int y) { return static_cast<std::uint32_t>(x * 3 + y) % 16; };
    cases.push_back({"core 4-bit with a 3-byte table", s});
  }
  return cases;
}

COLORREF Expected(const BitmapSketch& s, int x, int y) {
  const std::uint32_t value = s.pixel(x, y);
  if (s.bitCount == 24) return RGB(value >> 16, (value >> 8) & 0xFF, value & 0xFF);
  return ToColorRef(s.table[value]);
}

TEST(DrawBitmapFile, DrawsEveryPixelWithItsColour) {
  tarn::test::ScratchFolder folder;
  for (const DrawCase& c : DrawCases()) {
    SCOPED_TRACE(c.name);
    folder.WriteFile("picture.bmp", test::EncodeBitmap(c.sketch));
    Canvas canvas;
    ASSERT_TRUE(canvas.Ready());
    const HGDIOBJ paletteBefore = GetCurrentObject(canvas.Dc(), OBJ_PAL);

    const auto size =
        pictures::DrawBitmapFile(folder.Path("picture.bmp"), canvas.Dc(), kLeft, kTop);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->width, c.sketch.width);
    EXPECT_EQ(size->height, c.sketch.height);
    for (int y = 0; y < c.sketch.height; ++y) {
      for (int x = 0; x < c.sketch.width; ++x) {
        ASSERT_EQ(GetPixel(canvas.Dc(), kLeft + x, kTop + y), Expected(c.sketch, x, y))
            << "at " << x << "," << y;
      }
    }
    // Nothing outside the picture, and the canvas keeps the palette it had.
    EXPECT_EQ(GetPixel(canvas.Dc(), kLeft - 1, kTop), kBackground);
    EXPECT_EQ(GetPixel(canvas.Dc(), kLeft, kTop - 1), kBackground);
    EXPECT_EQ(GetPixel(canvas.Dc(), kLeft + c.sketch.width, kTop), kBackground);
    EXPECT_EQ(GetPixel(canvas.Dc(), kLeft, kTop + c.sketch.height), kBackground);
    EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_PAL), paletteBefore);
  }
}

TEST(DrawBitmapFile, SmallerPicturesAreScaledIntoTheirArea) {
  const RECT area{10, 20, 110, 70};  // 100 x 50
  const struct {
    const char* name;
    PictureSize picture;
    Scaling scaling;
    RECT expected;
  } cases[] = {
      {"fill: to the whole area", {50, 10}, Scaling::Fill, {10, 20, 110, 70}},
      {"aspect: as wide as the area", {50, 10}, Scaling::KeepAspect, {10, 35, 110, 55}},
      {"aspect: as tall as the area", {10, 25}, Scaling::KeepAspect, {50, 20, 70, 70}},
      {"aspect: in proportion already", {20, 10}, Scaling::KeepAspect, {10, 20, 110, 70}},
      {"as large as the area: natural", {100, 50}, Scaling::Fill, {10, 20, 110, 70}},
      {"wider than the area: natural", {101, 10}, Scaling::Fill, {10, 20, 111, 30}},
      {"taller than the area: natural", {10, 51}, Scaling::KeepAspect, {10, 20, 20, 71}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const RECT r = PictureRectIn(c.picture, area, c.scaling);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
  }

  // Drawn: a 2 x 2 picture over a 20 x 10 area reaches its four corners and nothing beyond.
  tarn::test::ScratchFolder folder;
  BitmapSketch s;
  s.width = 2;
  s.height = 2;
  s.bitCount = 8;
  s.table = kFour;
  s.pixel = [](int x, int y) { return static_cast<std::uint32_t>(x + 2 * y); };
  folder.WriteFile("small.bmp", test::EncodeBitmap(s));
  Canvas canvas;
  ASSERT_TRUE(canvas.Ready());
  const RECT target{kLeft, kTop, kLeft + 20, kTop + 10};
  const auto size = DrawBitmapFileIn(folder.Path("small.bmp"), canvas.Dc(), target, Scaling::Fill);
  ASSERT_TRUE(size.has_value());
  EXPECT_EQ(size->width, 2);
  EXPECT_EQ(GetPixel(canvas.Dc(), kLeft, kTop), ToColorRef(kFour[0]));
  EXPECT_EQ(GetPixel(canvas.Dc(), kLeft + 19, kTop), ToColorRef(kFour[1]));
  EXPECT_EQ(GetPixel(canvas.Dc(), kLeft, kTop + 9), ToColorRef(kFour[2]));
  EXPECT_EQ(GetPixel(canvas.Dc(), kLeft + 19, kTop + 9), ToColorRef(kFour[3]));
  EXPECT_EQ(GetPixel(canvas.Dc(), kLeft + 20, kTop), kBackground);
  EXPECT_EQ(GetPixel(canvas.Dc(), kLeft, kTop + 10), kBackground);
  EXPECT_EQ(GetPixel(canvas.Dc(), kLeft - 1, kTop), kBackground);
}

TEST(DrawBitmapFile, UnreadablePicturesDrawNothing) {
  tarn::test::ScratchFolder folder;
  BitmapSketch s;
  s.width = 4;
  s.height = 4;
  s.pixel = [](int, int) { return 0xFFFFFFu; };
  const std::string good = test::EncodeBitmap(s);
  // Claims 4000 rows but holds four.
  std::string tall = good;
  tall[14 + 8] = static_cast<char>(0xA0);
  tall[14 + 9] = static_cast<char>(0x0F);
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"cut short", good.substr(0, good.size() - 1)},
      {"taller than the file", tall},
      {"not a bitmap", std::string("GIF89a") + std::string(60, '\0')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    folder.WriteFile("bad.bmp", c.bytes);
    Canvas canvas;
    ASSERT_TRUE(canvas.Ready());
    EXPECT_FALSE(pictures::DrawBitmapFile(folder.Path("bad.bmp"), canvas.Dc(), 0, 0).has_value());
    EXPECT_TRUE(canvas.Untouched());
  }
  Canvas canvas;
  EXPECT_FALSE(pictures::DrawBitmapFile(folder.Path("missing.bmp"), canvas.Dc(), 0, 0).has_value());
  EXPECT_TRUE(canvas.Untouched());
}

}  // namespace
}  // namespace tarn::pictures
#endif
