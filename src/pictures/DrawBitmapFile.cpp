#include "pictures/DrawBitmapFile.h"

#include <memory>
#include <type_traits>
#include <vector>

#include "pictures/BitmapFile.h"
#include "platform/FileSystem.h"

namespace tarn::pictures {

namespace {

struct PaletteDeleter {
  void operator()(HPALETTE palette) const { DeleteObject(palette); }
};
using OwnedPalette = std::unique_ptr<std::remove_pointer_t<HPALETTE>, PaletteDeleter>;

OwnedPalette MakePalette(const std::vector<pictures::PaletteColour>& colours) {
  if (colours.empty()) return nullptr;
  // LOGPALETTE declares one entry; the others follow it in the same block.
  std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + (colours.size() - 1) * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = static_cast<WORD>(colours.size());
  for (std::size_t i = 0; i < colours.size(); ++i) {
    logical->palPalEntry[i] = PALETTEENTRY{colours[i].red, colours[i].green, colours[i].blue, 0};
  }
  return OwnedPalette(CreatePalette(logical));
}

// Keeps a palette selected (in the foreground) and realised for as long as it lives, then puts
// the device context's previous palette back as a background palette.
class SelectedPalette {
 public:
  SelectedPalette(HDC dc, HPALETTE palette) : dc_(dc) {
    if (palette) {
      previous_ = SelectPalette(dc_, palette, FALSE);
      RealizePalette(dc_);
    }
  }
  ~SelectedPalette() {
    if (previous_) SelectPalette(dc_, previous_, TRUE);
  }
  SelectedPalette(const SelectedPalette&) = delete;
  SelectedPalette& operator=(const SelectedPalette&) = delete;

 private:
  HDC dc_;
  HPALETTE previous_ = nullptr;
};

}  // namespace

std::optional<PictureSize> DrawBitmapFile(const std::string& path, HDC dc, int x, int y) {
  const auto fs = platform::MakeSystemFileSystem();
  const auto image = pictures::ReadBitmapFile(*fs, path);
  if (!image) return std::nullopt;

  const PictureSize size{image->width, image->topDown ? -image->height : image->height};
  const OwnedPalette palette = MakePalette(pictures::BitmapPalette(*image));
  {
    const SelectedPalette selected(dc, palette.get());
    const auto* info = reinterpret_cast<const BITMAPINFO*>(image->bytes.data());
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(size.width), static_cast<DWORD>(size.height), 0,
                      0, 0, static_cast<UINT>(size.height), image->Bits(), info, DIB_RGB_COLORS);
  }
  return size;
}

}  // namespace tarn::pictures
