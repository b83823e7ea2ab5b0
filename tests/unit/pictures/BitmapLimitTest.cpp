// A bitmap larger than a 32-bit address space can hold is refused cleanly, like broken input;
// the limit is tested on both sides.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "package/LittleEndian.h"
#include "pictures/BitmapFile.h"
#include "support/ScratchFolder.h"

namespace tarn {
namespace {

// A 24-bit bitmap of `width` x `rows` whose pixel data really lies in the file (a sparse one).
void WriteBitmap(test::ScratchFolder& dir, const std::string& name, std::uint32_t width,
                 std::uint32_t rows) {
  const std::uint64_t image = pictures::BitmapImageSize(width, rows, 24).value_or(0);
  std::vector<std::uint8_t> head(pictures::kBitmapFileHeaderSize + pictures::kBitmapInfoHeaderSize);
  head[0] = 'B';
  head[1] = 'M';
  package::StoreLe32(&head[2], static_cast<std::uint32_t>(head.size() + image));
  package::StoreLe32(&head[10], static_cast<std::uint32_t>(head.size()));
  std::uint8_t* info = &head[pictures::kBitmapFileHeaderSize];
  package::StoreLe32(info, pictures::kBitmapInfoHeaderSize);
  package::StoreLe32(info + 4, width);
  package::StoreLe32(info + 8, rows);
  info[12] = 1;   // planes
  info[14] = 24;  // bits per pixel
  auto file = dir.Files().Open(dir.Path(name), platform::OpenMode::Write);
  ASSERT_TRUE(file);
  ASSERT_TRUE(file->Write(head.data(), head.size()));
  ASSERT_TRUE(
      file->Seek(static_cast<std::int64_t>(head.size() + image - 1), platform::SeekOrigin::Begin));
  ASSERT_TRUE(file->Write("\0", 1));
}

TEST(MemoryLimits, BitmapsLargerThanTheLimitAreDrawnAsNone) {
  test::ScratchFolder dir;
  // 4096 pixels of 24 bits make 12288-byte rows: 5461 rows fit in 64 MiB, 5462 do not.
  const struct {
    std::uint32_t width, rows;
    bool read;
  } cases[] = {{4096, 5461, true}, {4096, 5462, false}, {1, 1, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.rows));
    WriteBitmap(dir, "b.bmp", c.width, c.rows);
    const auto image = pictures::ReadBitmapFile(dir.Files(), dir.Path("b.bmp"));
    EXPECT_EQ(image.has_value(), c.read);
    dir.Remove("b.bmp");
  }
}

}  // namespace
}  // namespace tarn
