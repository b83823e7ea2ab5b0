// What a 32-bit address space cannot hold is refused cleanly, like broken input: files read
// whole, bitmaps, LZMA dictionaries. Each limit is tested on both sides.
#include <gtest/gtest.h>
#include <lzma.h>

#include <atomic>
#include <string>
#include <vector>

#include "package/LittleEndian.h"
#include "package/PackageReader.h"
#include "pictures/BitmapFile.h"
#include "project/LanguageTable.h"
#include "support/ScratchFolder.h"
#include "tarnpack/DiscardingFileSystem.h"

namespace tarn {
namespace {

TEST(MemoryLimits, FilesReadWholeStopAtTheirLimit) {
  test::ScratchFolder dir;
  const struct {
    std::size_t size;
    std::uint64_t limit;
    bool read;
  } cases[] = {{0, 0, true},
               {100, 100, true},
               {101, 100, false},
               {70000, 65536, false},
               {200000, UINT64_MAX, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.size) + " bytes, limit " + std::to_string(c.limit));
    dir.WriteFile("f.bin", std::string(c.size, 'x'));
    const auto content = platform::ReadWholeFile(dir.Files(), dir.Path("f.bin"), c.limit);
    ASSERT_EQ(content.has_value(), c.read);
    if (content) {
      EXPECT_EQ(content->size(), c.size);
    }
  }

  // A language file past its limit leaves no texts, as a missing one does.
  for (const bool tooLarge : {false, true}) {
    SCOPED_TRACE(tooLarge);
    std::string text = "[Language=409]\r\nMessageDesc=m\r\n";
    if (tooLarge) text.resize(project::LanguageTable::kMaxLanguageFileSize + 1, ';');
    dir.WriteFile("lang.ini", text);
    project::LanguageTable table(0x409, 1252);
    table.Load(dir.Path("lang.ini"), dir.Files());
    EXPECT_EQ(table.GetText(project::LanguageKey::MessageDesc), tooLarge ? "" : "m");
  }
}

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

// An LZMA "alone" stream of `size` zero bytes with the size in its header, encoded piece by
// piece so that the data is never held whole.
std::string ZeroStream(std::uint64_t size) {
  lzma_options_lzma options{};
  lzma_lzma_preset(&options, 0);
  lzma_stream strm = LZMA_STREAM_INIT;
  if (lzma_alone_encoder(&strm, &options) != LZMA_OK) return {};
  const std::vector<std::uint8_t> zeros(1 << 20, 0);
  std::vector<std::uint8_t> out(1 << 16);
  std::string stream;
  std::uint64_t left = size;
  for (lzma_ret ret = LZMA_OK; ret != LZMA_STREAM_END;) {
    if (strm.avail_in == 0 && left > 0) {
      strm.next_in = zeros.data();
      strm.avail_in = static_cast<std::size_t>(std::min<std::uint64_t>(left, zeros.size()));
      left -= strm.avail_in;
    }
    strm.next_out = out.data();
    strm.avail_out = out.size();
    ret = lzma_code(&strm, left == 0 ? LZMA_FINISH : LZMA_RUN);
    stream.append(out.begin(), out.end() - static_cast<std::ptrdiff_t>(strm.avail_out));
    if (ret != LZMA_OK && ret != LZMA_STREAM_END) {
      stream.clear();
      break;
    }
  }
  lzma_end(&strm);
  if (stream.size() < 13) return {};
  package::StoreLe64(reinterpret_cast<std::uint8_t*>(&stream[5]), size);
  return stream;
}

// The dictionary is cut to the stream's size first: only a stream longer than the limit that
// asks for more than the limit is refused. Without the limit it would decode here.
TEST(MemoryLimits, DictionaryLargerThanTheLimitIsRefused) {
  constexpr std::uint32_t kLimit = package::PackageReader::kMaxDictionarySize;
  const struct {
    std::uint64_t size;
    std::uint32_t dictionary;
    bool decodes;
  } cases[] = {
      {1000, UINT32_C(3) << 30, true},        // asks for 3 GiB, needs 1000 bytes
      {kLimit + 4096, 1 << 20, true},         // long, small dictionary
      {kLimit + 4096, kLimit + 4096, false},  // long, dictionary past the limit
  };
  test::ScratchFolder dir;
  std::string longStream;  // encoded once: a quarter of a gigabyte takes a moment
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.size) + " bytes, dictionary " + std::to_string(c.dictionary));
    std::string stream = c.size > kLimit && !longStream.empty() ? longStream : ZeroStream(c.size);
    ASSERT_FALSE(stream.empty());
    if (c.size > kLimit) longStream = stream;
    package::StoreLe32(reinterpret_cast<std::uint8_t*>(&stream[1]), c.dictionary);
    dir.WriteFile("Setup.exe", stream + std::string(package::kTrailerSize, '\0'));
    tarnpack::DiscardingFileSystem sink(dir.Files());
    std::atomic<bool> over{false};
    package::PackageReader reader(sink, over);
    reader.SetCapacity(static_cast<std::int64_t>(stream.size()));
    ASSERT_TRUE(reader.OpenVolume(dir.Path("Setup.exe"), false));
    EXPECT_EQ(reader.ExtractEntry(dir.Path("out.bin"), 0, static_cast<std::int64_t>(stream.size()),
                                  false),
              c.decodes);
    if (c.decodes) {
      EXPECT_EQ(sink.Written(), c.size);
    }
  }
}

}  // namespace
}  // namespace tarn
