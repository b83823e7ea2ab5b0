// Packages whose offsets and sizes pass 4 GiB: what a 32-bit size_t would cut short. The files
// are sparse (data written after a seek), so they take little room and little time.
#include <gtest/gtest.h>
#include <lzma.h>

#include <atomic>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "package/PackageAddress.h"
#include "package/PackageReader.h"
#include "package/PackageTrailer.h"
#include "support/LzmaStreams.h"
#include "support/ScratchFolder.h"
#include "tarnpack/DiscardingFileSystem.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace tarn::package {
namespace {

constexpr std::int64_t kFourGiB = INT64_C(1) << 32;

// Bytes the file system really holds for a file; nothing when it cannot tell.
std::optional<std::uint64_t> AllocatedBytes(const std::string& hostPath) {
#ifdef _WIN32
  // The allocation size, not GetCompressedFileSize: some systems report the length there.
  const HANDLE file = CreateFileA(hostPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  FILE_STANDARD_INFO info{};
  const bool known = GetFileInformationByHandleEx(file, FileStandardInfo, &info, sizeof info);
  CloseHandle(file);
  if (!known) return std::nullopt;
  return static_cast<std::uint64_t>(info.AllocationSize.QuadPart);
#else
  struct stat st {};
  if (::stat(hostPath.c_str(), &st) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(st.st_blocks) * 512;
#endif
}

// Writes `bytes` at `position` of a file, creating it; the gap before stays a hole.
void WriteAt(platform::FileSystem& files, const std::string& path, std::int64_t position,
             const std::string& bytes, bool create) {
  auto file = files.Open(path, create ? platform::OpenMode::Write : platform::OpenMode::Update);
  ASSERT_TRUE(file) << path;
  ASSERT_TRUE(file->Seek(position, platform::SeekOrigin::Begin)) << position;
  ASSERT_TRUE(file->Write(bytes.data(), bytes.size())) << position;
}

// Why the scratch folder cannot hold a sparse file past 4 GiB, or nothing when it can.
std::optional<std::string> SparseFilesUnsupported(test::ScratchFolder& dir) {
  const std::string probe = dir.Path("sparse.probe");
  const std::int64_t at = 5 * kFourGiB / 4;
  {
    auto file = dir.Files().Open(probe, platform::OpenMode::Write);
    if (!file) return "cannot create a file in the scratch folder";
    if (!file->Seek(at, platform::SeekOrigin::Begin) || !file->Write("x", 1))
      return "the scratch folder's file system holds no file past 4 GiB";
  }
  const auto allocated = AllocatedBytes(dir.HostPath(probe));
  dir.Remove("sparse.probe");
  if (!allocated || *allocated > (UINT64_C(64) << 20))
    return "the scratch folder's file system does not keep sparse files";
  return std::nullopt;
}

TEST(LargePackage, AddressAndTrailerArithmeticNearTwoToThe32) {
  struct Case {
    std::int64_t offset, capacity, volume, position;
  } cases[] = {
      {kFourGiB - 1, kFourGiB, 1, kFourGiB - 1},
      {kFourGiB, kFourGiB, 2, 0},
      {kFourGiB + 1, kFourGiB - 1, 2, 2},
      {3 * kFourGiB + 5, kFourGiB + 1, 4, 2},
      {3 * kFourGiB + 2, kFourGiB + 1, 3, kFourGiB},
      {kFourGiB + 7, 1457664, kFourGiB / 1457664 + 1, kFourGiB % 1457664 + 7},
      {INT64_MAX, kFourGiB, INT64_MAX / kFourGiB + 1, INT64_MAX % kFourGiB},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.offset);
    const auto at = LocateOffset(c.offset, c.capacity);
    ASSERT_TRUE(at);
    EXPECT_EQ(at->volume, c.volume);
    EXPECT_EQ(at->position, c.position);
  }

  const std::uint64_t values[] = {UINT32_MAX, UINT64_C(1) << 32, (UINT64_C(1) << 32) + 1,
                                  UINT64_C(0x0123456789ABCDEF), UINT64_MAX};
  for (const std::uint64_t v : values) {
    SCOPED_TRACE(v);
    PackageTrailer t;
    t.projectOffset = v;
    t.projectSize = ~v;
    t.volumeNumber = static_cast<std::uint32_t>(v);
    const auto bytes = t.Encode();
    EXPECT_EQ(bytes[64 + 4], static_cast<std::uint8_t>(v >> 32));
    const PackageTrailer back = PackageTrailer::Decode(bytes);
    EXPECT_EQ(back.projectOffset, v);
    EXPECT_EQ(back.projectSize, ~v);
    EXPECT_EQ(back.volumeNumber, static_cast<std::uint32_t>(v));
  }
}

// Two sparse volumes of a capacity past 4 GiB; the streams sit around and beyond 2^32 in each,
// and one crosses from the first volume into the second.
TEST(LargePackage, StreamsBeyondFourGiBInSparseVolumes) {
  test::ScratchFolder dir;
  if (const auto why = SparseFilesUnsupported(dir)) GTEST_SKIP() << *why;

  constexpr std::int64_t kCapacity = kFourGiB + (1 << 20);
  struct Case {
    const char* what;
    std::int64_t offset;  // in the package's address space
    bool stored;
  } cases[] = {
      {"stored, across 2^32", kFourGiB - 7, true},
      {"compressed, past 2^32", kFourGiB + 200000, false},
      {"stored, into the second volume", kCapacity - 30000, true},
      {"compressed, past 2^32 of the second volume", kCapacity + kFourGiB + 5, false},
  };

  PackageTrailer trailer;
  trailer.SetIdentityText("large-volumes");
  trailer.projectOffset = static_cast<std::uint64_t>(kFourGiB) + 3;
  trailer.projectSize = static_cast<std::uint64_t>(kFourGiB) - 3;
  trailer.volumeNumber = 1;

  std::vector<std::string> contents;
  std::int64_t end = 0;
  bool created[3] = {false, false, false};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const std::string data = test::NoiseBytes(100000, static_cast<std::uint32_t>(i + 1));
    contents.push_back(data);
    const std::string stream = cases[i].stored ? data : test::LzmaWithoutEndMarker(data);
    // Cut the stream where it crosses a volume end.
    for (std::size_t done = 0; done < stream.size();) {
      const std::int64_t at = cases[i].offset + static_cast<std::int64_t>(done);
      const auto where = LocateOffset(at, kCapacity);
      ASSERT_TRUE(where);
      const auto room = static_cast<std::size_t>(std::min<std::int64_t>(
          kCapacity - where->position, static_cast<std::int64_t>(stream.size() - done)));
      const auto v = static_cast<std::size_t>(where->volume);
      WriteAt(dir.Files(), dir.Path(v == 1 ? "Setup.exe" : VolumeFileName(where->volume)),
              where->position, stream.substr(done, room), !created[v]);
      created[v] = true;
      done += room;
      end = where->position + static_cast<std::int64_t>(room);
    }
  }
  const auto tb = trailer.Encode();
  WriteAt(dir.Files(), dir.Path("Setup.exe"), kCapacity, std::string(tb.begin(), tb.end()), false);
  WriteAt(dir.Files(), dir.Path("Setup2.Cab"), end, std::string(tb.begin(), tb.end()), false);

  // The trailer lies past 4 GiB: found from the end of the file.
  {
    auto setup = dir.Files().Open(dir.Path("Setup.exe"), platform::OpenMode::Read);
    ASSERT_TRUE(setup);
    ASSERT_EQ(setup->Length().value_or(0), static_cast<std::uint64_t>(kCapacity) + kTrailerSize);
    const auto read = ReadPackageTrailer(*setup);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->projectOffset, trailer.projectOffset);
    EXPECT_EQ(read->projectSize, trailer.projectSize);
  }

  std::atomic<bool> over{false};
  PackageReader reader(dir.Files(), over);
  reader.SetTrailer(trailer);
  reader.SetCapacity(kCapacity);
  ASSERT_TRUE(reader.OpenVolume(dir.Path("Setup.exe"), false));
  reader.SetSpanning(true);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].what);
    const std::string stream =
        cases[i].stored ? contents[i] : test::LzmaWithoutEndMarker(contents[i]);
    const std::string name = "out" + std::to_string(i) + ".bin";
    ASSERT_TRUE(reader.ExtractEntry(dir.Path(name), cases[i].offset,
                                    static_cast<std::int64_t>(stream.size()), cases[i].stored));
    std::string bytes;
    ASSERT_TRUE(dir.ReadFile(name, bytes));
    EXPECT_TRUE(bytes == contents[i]) << bytes.size() << " bytes";
  }
  EXPECT_EQ(reader.CurrentVolume(), 2);
  EXPECT_FALSE(over);
}

// Made by `head -c 4295032832 /dev/zero | xz --format=lzma -0` with the size written into the
// header afterwards, then compressed once more with `xz --lzma2=preset=9e,dict=1MiB` (a few hundred
// bytes).
std::string ZerosPastFourGiBStream() {
  std::ifstream in(TARN_TEST_DATA "/zeros-4GiB-1MiB.lzma.xz", std::ios::binary);
  const std::string packed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string stream(1 << 20, '\0');
  std::uint64_t memlimit = UINT64_C(64) << 20;
  std::size_t inPos = 0;
  std::size_t outPos = 0;
  const lzma_ret ret = lzma_stream_buffer_decode(
      &memlimit, 0, nullptr, reinterpret_cast<const std::uint8_t*>(packed.data()), &inPos,
      packed.size(), reinterpret_cast<std::uint8_t*>(&stream[0]), &outPos, stream.size());
  stream.resize(ret == LZMA_OK ? outPos : 0);
  return stream;
}

// The decoded length passes 2^32: a count kept in a 32-bit size_t would come out 1 MiB.
TEST(LargePackage, EntryOverFourGiBDecodesIntoADiscardingFileLayer) {
  const std::string stream = ZerosPastFourGiBStream();
  ASSERT_FALSE(stream.empty()) << "tests/data/zeros-4GiB-1MiB.lzma.xz cannot be read";
  const std::uint64_t expected = (UINT64_C(1) << 32) + (UINT64_C(1) << 20);

  test::ScratchFolder dir;
  const std::string stub(4096, 'S');
  PackageTrailer trailer;
  trailer.SetIdentityText("large-entry");
  trailer.volumeNumber = 1;
  const auto tb = trailer.Encode();
  dir.WriteFile("Setup.exe", stub + stream + std::string(tb.begin(), tb.end()));

  tarnpack::DiscardingFileSystem sink(dir.Files());
  std::atomic<bool> over{false};
  PackageReader reader(sink, over);
  reader.SetTrailer(trailer);
  reader.SetCapacity(INT64_C(1) << 40);
  ASSERT_TRUE(reader.OpenVolume(dir.Path("Setup.exe"), false));
  reader.SetSpanning(true);
  EXPECT_TRUE(reader.ExtractEntry(dir.Path("big.bin"), static_cast<std::int64_t>(stub.size()),
                                  static_cast<std::int64_t>(stream.size()), false));
  EXPECT_EQ(sink.Written(), expected);
}

}  // namespace
}  // namespace tarn::package
