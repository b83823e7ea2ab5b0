#include "pictures/DrawBitmapFile.h"

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

}  // namespace

std::optional<PictureSize> DrawBitmapFile(const std::string& path, HDC dc, int x, int y) {
  const auto file = platform::OpenWin32File(path, platform::OpenMode::Read);
  if (!file) return std::nullopt;
  const auto image = pictures::ReadBitmap(*file);
  if (!image) return std::nullopt;

  const PictureSize size{image->width, image->topDown ? -image->height : image->height};
  const platform::Palette palette = MakePalette(pictures::BitmapPalette(*image));
  {
    const platform::SelectPaletteScope selected(dc, palette.Get());
    const auto* info = reinterpret_cast<const BITMAPINFO*>(image->bytes.data());
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(size.width), static_cast<DWORD>(size.height), 0,
                      0, 0, static_cast<UINT>(size.height), image->Bits(), info, DIB_RGB_COLORS);
  }
  return size;
}

}  // namespace tarn::pictures
