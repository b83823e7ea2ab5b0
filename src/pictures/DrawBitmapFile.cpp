#include "pictures/DrawBitmapFile.h"

#include <algorithm>
#include <vector>

#include "pictures/BitmapFile.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Toolkit.h"

namespace tarn::pictures {

namespace {

platform::Palette MakePalette(const std::vector<pictures::PaletteColour>& colours) {
  if (colours.empty()) return platform::Palette();
  // LOGPALETTE declares one entry; the others follow it in the same block.
  std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + (colours.size() - 1) * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = static_cast<WORD>(colours.size());
  for (std::size_t i = 0; i < colours.size(); ++i) {
    logical->palPalEntry[i] = PALETTEENTRY{colours[i].red, colours[i].green, colours[i].blue, 0};
  }
  return platform::Palette(CreatePalette(logical));
}

std::optional<DibImage> ReadPicture(const std::string& path) {
  const auto file = platform::OpenWin32File(path, platform::OpenMode::Read);
  if (!file) return std::nullopt;
  return pictures::ReadBitmap(*file);
}

PictureSize SizeOf(const DibImage& image) {
  return PictureSize{image.width, image.topDown ? -image.height : image.height};
}

// Draws the image into `target`, stretched when the sizes differ.
void Draw(const DibImage& image, HDC dc, const RECT& target) {
  const PictureSize size = SizeOf(image);
  const platform::Palette palette = MakePalette(pictures::BitmapPalette(image));
  const platform::SelectPaletteScope selected(dc, palette.Get());
  const auto* info = reinterpret_cast<const BITMAPINFO*>(image.bytes.data());
  const int width = target.right - target.left;
  const int height = target.bottom - target.top;
  if (width == size.width && height == size.height) {
    SetDIBitsToDevice(dc, target.left, target.top, static_cast<DWORD>(size.width),
                      static_cast<DWORD>(size.height), 0, 0, 0, static_cast<UINT>(size.height),
                      image.Bits(), info, DIB_RGB_COLORS);
    return;
  }
  // Averaging, not dropping, pixels; the brush origin must be set again after choosing it.
  const int oldMode = SetStretchBltMode(dc, HALFTONE);
  POINT oldOrigin{};
  SetBrushOrgEx(dc, 0, 0, &oldOrigin);
  StretchDIBits(dc, target.left, target.top, width, height, 0, 0, size.width, size.height,
                image.Bits(), info, DIB_RGB_COLORS, SRCCOPY);
  SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
  SetStretchBltMode(dc, oldMode);
}

}  // namespace

std::optional<PictureSize> DrawBitmapFile(const std::string& path, HDC dc, int x, int y) {
  const auto image = ReadPicture(path);
  if (!image) return std::nullopt;
  const PictureSize size = SizeOf(*image);
  Draw(*image, dc, RECT{x, y, x + size.width, y + size.height});
  return size;
}

RECT PictureRectIn(PictureSize picture, const RECT& area, Scaling scaling) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  const bool fits =
      picture.width > 0 && picture.height > 0 && picture.width <= width && picture.height <= height;
  if (!fits || (picture.width == width && picture.height == height))
    return RECT{area.left, area.top, area.left + picture.width, area.top + picture.height};
  if (scaling == Scaling::Fill) return area;
  // The smaller of the two proportions, compared without rounding.
  int w = width;
  int h = MulDiv(picture.height, width, picture.width);
  if (static_cast<long long>(width) * picture.height >
      static_cast<long long>(height) * picture.width) {
    h = height;
    w = MulDiv(picture.width, height, picture.height);
  }
  const int left = area.left + (width - w) / 2;
  const int top = area.top + (height - h) / 2;
  return RECT{left, top, left + w, top + h};
}

std::optional<PictureSize> DrawBitmapFileIn(const std::string& path, HDC dc, const RECT& area,
                                            Scaling scaling) {
  const auto image = ReadPicture(path);
  if (!image) return std::nullopt;
  const PictureSize size = SizeOf(*image);
  Draw(*image, dc, PictureRectIn(size, area, scaling));
  return size;
}

std::optional<PictureSize> BitmapFileSize(const std::string& path) {
  const auto image = ReadPicture(path);
  if (!image) return std::nullopt;
  return SizeOf(*image);
}

}  // namespace tarn::pictures
