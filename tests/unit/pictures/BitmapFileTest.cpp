#include "pictures/BitmapFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/ForwardingFileSystem.h"
#include "support/BitmapBuilder.h"
#include "support/ScratchFolder.h"

namespace tarn::pictures {
namespace {

using namespace bitmap_builder;

struct ValidCase {
  const char* name;
  Bmp bmp;
  std::uint32_t colours;
  std::size_t imageSize;
};

std::vector<ValidCase> ValidCases() {
  std::vector<ValidCase> cases;
  auto add = [&](const char* name, std::uint32_t colours, std::size_t imageSize, auto change) {
    Bmp bmp;
    change(bmp);
    bmp.bitsBytes = imageSize;
    cases.push_back({name, bmp, colours, imageSize});
  };
  // 3 pixels of 3 bytes = 9, padded to 12 per row.
  add("info 24-bit with file header", 0, 24, [](Bmp&) {});
  add("info 24-bit without file header", 0, 24, [](Bmp& b) { b.fileHeader = false; });
  add("info 24-bit with image size given", 0, 24, [](Bmp& b) { b.imageSizeField = 24; });
  add("info 24-bit top-down", 0, 24, [](Bmp& b) { b.height = -2; });
  add("info 24-bit with an optimising colour table", 2, 24, [](Bmp& b) {
    b.coloursUsedField = 2;
    b.tableEntries = 2;
  });
  // 9 pixels of 1 bit need 2 bytes, padded to 4.
  add("info 1-bit", 2, 8, [](Bmp& b) {
    b.width = 9;
    b.bitCount = 1;
    b.tableEntries = 2;
  });
  // 3 pixels of 4 bits need 2 bytes, padded to 4; three colours used of sixteen.
  add("info 4-bit with three used colours", 3, 8, [](Bmp& b) {
    b.bitCount = 4;
    b.coloursUsedField = 3;
    b.tableEntries = 3;
  });
  add("info 8-bit with a full table", 256, 8, [](Bmp& b) {
    b.bitCount = 8;
    b.tableEntries = 256;
  });
  add("info 8-bit without file header", 256, 8, [](Bmp& b) {
    b.fileHeader = false;
    b.bitCount = 8;
    b.tableEntries = 256;
  });
  add("info 16-bit", 0, 16, [](Bmp& b) { b.bitCount = 16; });
  add("info 32-bit", 0, 24, [](Bmp& b) { b.bitCount = 32; });
  add("info 8-bit with bits placed after a gap", 4, 8, [](Bmp& b) {
    b.bitCount = 8;
    b.coloursUsedField = 4;
    b.tableEntries = 4;
    b.gap = 10;
  });
  add("core 1-bit", 2, 8, [](Bmp& b) {
    b.core = true;
    b.width = 20;
    b.bitCount = 1;
    b.tableEntries = 2;
  });
  add("core 4-bit without file header", 16, 8, [](Bmp& b) {
    b.core = true;
    b.fileHeader = false;
    b.bitCount = 4;
    b.tableEntries = 16;
  });
  add("core 8-bit", 256, 8, [](Bmp& b) {
    b.core = true;
    b.bitCount = 8;
    b.tableEntries = 256;
  });
  add("core 24-bit", 0, 24, [](Bmp& b) { b.core = true; });
  return cases;
}

TEST(BitmapFile, ReadsValidBitmapsIntoAPackedDib) {
  for (const ValidCase& c : ValidCases()) {
    SCOPED_TRACE(c.name);
    const auto image = Read(c.bmp);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, c.bmp.width);
    EXPECT_EQ(image->height, c.bmp.height);
    EXPECT_EQ(image->topDown, c.bmp.height < 0);
    EXPECT_EQ(image->bitCount, c.bmp.bitCount);
    EXPECT_EQ(image->colourCount, c.colours);
    EXPECT_EQ(image->ImageSize(), c.imageSize);
    ASSERT_EQ(image->bytes.size(), 40 + 4 * c.colours + c.imageSize);

    // The information header as GDI reads it.
    EXPECT_EQ(Get32(image->bytes, 0), 40u);
    EXPECT_EQ(static_cast<std::int32_t>(Get32(image->bytes, 4)), c.bmp.width);
    EXPECT_EQ(static_cast<std::int32_t>(Get32(image->bytes, 8)), c.bmp.height);
    EXPECT_EQ(image->bytes[12] | image->bytes[13] << 8, 1);
    EXPECT_EQ(image->bytes[14] | image->bytes[15] << 8, c.bmp.bitCount);
    EXPECT_EQ(Get32(image->bytes, 16), 0u);
    EXPECT_EQ(Get32(image->bytes, 20), c.imageSize);
    EXPECT_EQ(Get32(image->bytes, 32), c.colours);

    for (std::uint32_t i = 0; i < c.colours; ++i) {
      const std::size_t at = 40 + 4 * i;
      ASSERT_EQ(image->bytes[at], EntryBlue(i)) << "entry " << i;
      ASSERT_EQ(image->bytes[at + 1], EntryGreen(i)) << "entry " << i;
      ASSERT_EQ(image->bytes[at + 2], EntryRed(i)) << "entry " << i;
      ASSERT_EQ(image->bytes[at + 3], 0) << "entry " << i;
    }
    const std::string bits(reinterpret_cast<const char*>(image->Bits()), image->ImageSize());
    EXPECT_EQ(bits, BitsPattern(c.imageSize));
  }
}

TEST(BitmapFile, CoreHeaderIsConvertedWithItsColourCount) {
  Bmp b;
  b.core = true;
  b.bitCount = 4;
  b.tableEntries = 16;
  b.bitsBytes = 8;
  const auto image = Read(b);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(Get32(image->bytes, 32), 16u);  // used colours
  EXPECT_EQ(Get32(image->bytes, 36), 16u);  // important colours
  EXPECT_EQ(Get32(image->bytes, 24), 0u);   // no resolution in a core header
}

TEST(BitmapFile, ReadsTheBitsInBoundedPieces) {
  Bmp b;
  b.width = 200;
  b.height = 100;
  b.bitsBytes = 600 * 100;
  MemoryFile file(b.Bytes());
  const auto image = ReadBitmap(file);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->ImageSize(), 60000u);
  EXPECT_EQ(file.largestRead, kBitmapReadPiece);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(image->Bits()), 60000), BitsPattern(60000));
}

struct HostileCase {
  const char* name;
  std::string bytes;
};

std::vector<HostileCase> HostileCases() {
  std::vector<HostileCase> cases;
  auto add = [&](const char* name, auto change, std::size_t cut = 0) {
    Bmp b;
    change(b);
    std::string bytes = b.Bytes();
    bytes.resize(bytes.size() - std::min(cut, bytes.size()));
    cases.push_back({name, bytes});
  };
  const std::int32_t maxInt = std::numeric_limits<std::int32_t>::max();
  add(
      "empty file", [](Bmp&) {}, 1000);
  add(
      "file header only", [](Bmp&) {}, 40 + 24);
  add(
      "information header cut short", [](Bmp&) {}, 24 + 20);
  add(
      "core header cut short", [](Bmp& b) { b.core = true; }, 24 + 6);
  add("header size 64", [](Bmp& b) { b.headerSize = 64; });
  add("header size of a version 4 header", [](Bmp& b) { b.headerSize = 108; });
  add("header size larger than the file", [](Bmp& b) { b.headerSize = 0x7FFFFFF0; });
  add("width 0", [](Bmp& b) { b.width = 0; });
  add("negative width", [](Bmp& b) { b.width = -3; });
  add("height 0", [](Bmp& b) { b.height = 0; });
  add("smallest height", [](Bmp& b) { b.height = std::numeric_limits<std::int32_t>::min(); });
  add("core width 0", [](Bmp& b) {
    b.core = true;
    b.width = 0;
  });
  add("bit count 0", [](Bmp& b) { b.bitCount = 0; });
  add("bit count 2", [](Bmp& b) { b.bitCount = 2; });
  add("bit count 48", [](Bmp& b) { b.bitCount = 48; });
  add("bit count 65535", [](Bmp& b) { b.bitCount = 65535; });
  add("core bit count 32", [](Bmp& b) {
    b.core = true;
    b.bitCount = 32;
  });
  add("dimensions far beyond 32-bit sizes", [&](Bmp& b) {
    b.width = maxInt;
    b.height = maxInt;
    b.bitCount = 32;
  });
  add("image larger than 4 GiB", [](Bmp& b) {
    b.width = 100000;
    b.height = 100000;
  });
  add("image far larger than the file", [](Bmp& b) {
    b.width = 4000;
    b.height = 4000;
  });
  add("top-down image larger than the file", [](Bmp& b) { b.height = -4000; });
  add("used colours above 2 for 1 bit", [](Bmp& b) {
    b.bitCount = 1;
    b.coloursUsedField = 3;
    b.tableEntries = 3;
  });
  add("used colours above 256 for 8 bits", [](Bmp& b) {
    b.bitCount = 8;
    b.coloursUsedField = 257;
    b.tableEntries = 257;
  });
  add("used colours of 2^32 - 1", [](Bmp& b) {
    b.bitCount = 8;
    b.coloursUsedField = 0xFFFFFFFF;
  });
  add("used colours above 256 for 24 bits", [](Bmp& b) {
    b.coloursUsedField = 1000;
    b.tableEntries = 1000;
  });
  add("colour table cut short", [](Bmp& b) {
    b.bitCount = 8;
    b.tableEntries = 100;
    b.bitsBytes = 0;
  });
  add("image size field too small", [](Bmp& b) { b.imageSizeField = 12; });
  add("image size field too large", [](Bmp& b) { b.imageSizeField = 0x10000000; });
  add("image size field off by one", [](Bmp& b) { b.imageSizeField = 25; });
  add(
      "bits one byte short", [](Bmp&) {}, 1);
  add(
      "core bits cut short", [](Bmp& b) { b.core = true; }, 12);
  add("bits offset beyond the end", [](Bmp& b) { b.bitsOffsetField = 0x7FFFFFFF; });
  add("bits offset leaving too few bytes", [](Bmp& b) { b.bitsOffsetField = 14 + 40 + 1; });
  add("bits offset inside the header", [](Bmp& b) { b.bitsOffsetField = 20; });
  add("bits offset inside the colour table", [](Bmp& b) {
    b.bitCount = 8;
    b.tableEntries = 256;
    b.bitsBytes = 8;
    b.bitsOffsetField = 14 + 40 + 100;
  });
  add("run-length compression", [](Bmp& b) {
    b.bitCount = 8;
    b.compression = 1;
    b.tableEntries = 256;
    b.bitsBytes = 8;
  });
  add("bit-field masks", [](Bmp& b) {
    b.bitCount = 32;
    b.compression = 3;
  });
  return cases;
}

TEST(BitmapFile, RefusesHostileBitmaps) {
  for (const HostileCase& c : HostileCases()) {
    SCOPED_TRACE(c.name);
    MemoryFile file(c.bytes);
    EXPECT_FALSE(ReadBitmap(file).has_value());
    // Nothing is read beyond what a header and one piece of bits need.
    EXPECT_LE(file.largestRead, kBitmapReadPiece);
  }
}

TEST(BitmapFile, ImageSizeOfDimensions) {
  struct Case {
    std::uint32_t width, rows;
    std::uint16_t bitCount;
    std::uint64_t size;
  } cases[] = {
      {1, 1, 1, 4},      {32, 1, 1, 4},     {33, 1, 1, 8},  {3, 2, 24, 24},
      {4, 2, 24, 24},    {5, 3, 8, 24},     {7, 1, 4, 4},   {9, 1, 4, 8},
      {10, 10, 16, 200}, {10, 10, 32, 400}, {0, 10, 24, 0}, {548, 64, 24, 105216},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BitmapImageSize(c.width, c.rows, c.bitCount), c.size)
        << c.width << "x" << c.rows << "x" << c.bitCount;
  }
  const std::uint32_t most = std::numeric_limits<std::uint32_t>::max();
  EXPECT_EQ(BitmapImageSize(most, most, 32), std::nullopt);
  EXPECT_EQ(BitmapImageSize(most, most, 65535), std::nullopt);
}

TEST(BitmapFile, PaletteComesFromTheColourTable) {
  Bmp b;
  b.bitCount = 8;
  b.coloursUsedField = 5;
  b.tableEntries = 5;
  b.bitsBytes = 8;
  const auto image = Read(b);
  ASSERT_TRUE(image.has_value());
  const auto palette = BitmapPalette(*image);
  ASSERT_EQ(palette.size(), 5u);
  for (std::uint32_t i = 0; i < 5; ++i) {
    EXPECT_EQ(palette[i], (PaletteColour{EntryRed(i), EntryGreen(i), EntryBlue(i)}));
  }
}

TEST(BitmapFile, CoreTablePaletteHasTheRightColours) {
  Bmp b;
  b.core = true;
  b.bitCount = 1;
  b.tableEntries = 2;
  b.bitsBytes = 8;
  const auto image = Read(b);
  ASSERT_TRUE(image.has_value());
  const auto palette = BitmapPalette(*image);
  ASSERT_EQ(palette.size(), 2u);
  EXPECT_EQ(palette[1], (PaletteColour{EntryRed(1), EntryGreen(1), EntryBlue(1)}));
}

TEST(BitmapFile, TrueColourWithoutTableGetsTheColourCube) {
  const auto image = Read(Bmp{});
  ASSERT_TRUE(image.has_value());
  const auto palette = BitmapPalette(*image);
  ASSERT_EQ(palette.size(), 256u);
  EXPECT_EQ(palette[0], (PaletteColour{0, 0, 0}));
  EXPECT_EQ(palette[1], (PaletteColour{32, 0, 0}));
  EXPECT_EQ(palette[7], (PaletteColour{224, 0, 0}));
  EXPECT_EQ(palette[8], (PaletteColour{0, 32, 0}));
  EXPECT_EQ(palette[63], (PaletteColour{224, 224, 0}));
  EXPECT_EQ(palette[64], (PaletteColour{0, 0, 64}));
  EXPECT_EQ(palette[255], (PaletteColour{224, 224, 192}));
  // Every colour of the cube appears once.
  for (std::size_t i = 0; i < palette.size(); ++i) {
    for (std::size_t j = i + 1; j < palette.size(); ++j) ASSERT_FALSE(palette[i] == palette[j]);
  }
}

TEST(BitmapFile, OtherBitmapsGetNoPalette) {
  for (std::uint16_t bitCount : {16, 32}) {
    Bmp b;
    b.bitCount = bitCount;
    b.bitsBytes = bitCount == 16 ? 16 : 24;
    const auto image = Read(b);
    ASSERT_TRUE(image.has_value()) << bitCount;
    EXPECT_TRUE(BitmapPalette(*image).empty()) << bitCount;
  }
}

TEST(BitmapFile, ReadsFromTheFileSystem) {
  test::ScratchFolder folder;
  Bmp b;
  b.bitCount = 8;
  b.tableEntries = 256;
  b.bitsBytes = 8;
  folder.WriteFile("picture.bmp", b.Bytes());
  const auto image = ReadBitmapFile(folder.Files(), folder.Path("picture.bmp"));
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->colourCount, 256u);
  EXPECT_EQ(image->width, 3);
  EXPECT_FALSE(ReadBitmapFile(folder.Files(), folder.Path("missing.bmp")).has_value());
}

TEST(BitmapFile, SamplePicturesAreAccepted) {
  const struct {
    const char* name;
    std::int32_t width, height;
  } pictures[] = {{"band.bmp", 548, 64}, {"welcome.bmp", 164, 314}, {"ad.bmp", 400, 250}};
  const auto fs = platform::MakeSystemFileSystem();
  for (const auto& p : pictures) {
    const auto image = ReadBitmapFile(*fs, std::string(TARN_SAMPLE_PICTURES "/") + p.name);
    ASSERT_TRUE(image.has_value()) << p.name;
    EXPECT_EQ(image->width, p.width) << p.name;
    EXPECT_EQ(image->height, p.height) << p.name;
  }
}

}  // namespace
}  // namespace tarn::pictures
