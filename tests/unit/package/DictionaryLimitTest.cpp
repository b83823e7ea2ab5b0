// An LZMA dictionary larger than a 32-bit address space can hold is refused cleanly, like
// broken input; the limit is tested on both sides.
#include <gtest/gtest.h>
#include <lzma.h>

#include <atomic>
#include <string>
#include <vector>

#include "package/LittleEndian.h"
#include "package/PackageReader.h"
#include "support/ScratchFolder.h"
#include "tarnpack/DiscardingFileSystem.h"

namespace tarn {
namespace {

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
