#include "package/PackageTrailer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "package/LittleEndian.h"
#include "support/LzmaStreams.h"
#include "support/ScratchFolder.h"

namespace tarn::package {
namespace {

std::array<std::uint8_t, kTrailerSize> SampleBytes() {
  std::array<std::uint8_t, kTrailerSize> b{};
  const std::string id = "123456789020050123202058";
  std::copy(id.begin(), id.end(), b.begin());
  // project offset 0x0000000102030405, size 0x1122, reserved 2, volume 1
  const std::uint8_t tail[] = {0x05, 0x04, 0x03, 0x02, 0x01, 0, 0, 0, 0x22, 0x11, 0, 0,
                               0,    0,    0,    0,    2,    0, 0, 0, 1,    0,    0, 0};
  std::copy(std::begin(tail), std::end(tail), b.begin() + 64);
  return b;
}

TEST(PackageTrailer, DecodesLittleEndianFields) {
  const PackageTrailer t = PackageTrailer::Decode(SampleBytes());
  EXPECT_EQ(t.IdentityText(), "123456789020050123202058");
  EXPECT_EQ(t.projectOffset, 0x0102030405ULL);
  EXPECT_EQ(t.projectSize, 0x1122u);
  EXPECT_EQ(t.reserved, 2u);
  EXPECT_EQ(t.volumeNumber, 1u);
  EXPECT_EQ(t.Encode(), SampleBytes());
}

TEST(PackageTrailer, IdentityComparisonStopsAtTheZero) {
  PackageTrailer a = PackageTrailer::Decode(SampleBytes());
  PackageTrailer b = a;
  b.identity[40] = 0x7F;  // after the terminating zero: not compared
  EXPECT_TRUE(a.SameIdentity(b));
  b.identity[3] = 'x';
  EXPECT_FALSE(a.SameIdentity(b));

  PackageTrailer full;
  full.identity.fill('z');  // no zero at all: all 64 bytes are the text
  EXPECT_EQ(full.IdentityText().size(), kIdentitySize);

  PackageTrailer c;
  EXPECT_TRUE(c.SetIdentityText("abc"));
  EXPECT_EQ(c.IdentityText(), "abc");
  EXPECT_FALSE(c.SetIdentityText(std::string(64, 'a')));
  EXPECT_EQ(c.IdentityText(), "abc");
}

std::string WriteTempFile(const std::string& name, const std::string& content) {
  const std::string path = testing::TempDir() + name;
  std::ofstream(path, std::ios::binary).write(content.data(), std::streamsize(content.size()));
  return path;
}

TEST(PackageTrailer, ReadsTheLastBytesOfAFile) {
  auto fs = platform::MakeSystemFileSystem();
  const auto bytes = SampleBytes();
  const std::string path = WriteTempFile(
      "trailer-ok.bin", std::string(1000, 'S') + std::string(bytes.begin(), bytes.end()));
  auto file = fs->Open(path, platform::OpenMode::Read);
  ASSERT_TRUE(file);
  const auto t = ReadPackageTrailer(*file);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->Encode(), bytes);
  file.reset();
  std::remove(path.c_str());

  const std::string shortPath = WriteTempFile("trailer-short.bin", std::string(87, 'S'));
  auto shortFile = fs->Open(shortPath, platform::OpenMode::Read);
  ASSERT_TRUE(shortFile);
  EXPECT_FALSE(ReadPackageTrailer(*shortFile));
  shortFile.reset();
  std::remove(shortPath.c_str());
}

// A setup file: PE headers (the rest of the 1024-byte stub zeros), a project stream of noise
// and the trailer; when signed, zero padding to 8 bytes and a certificate table of noise.
struct SetupFile {
  static constexpr std::size_t kStub = 1024;
  static constexpr std::size_t kPe = 0x80;
  static constexpr std::size_t kOptional = kPe + 24;
  std::string bytes;
  std::size_t directory = 0;  // the security directory entry
  std::size_t certificates = 0;
  std::array<std::uint8_t, kTrailerSize> trailer{};

  void Set16(std::size_t at, std::uint16_t v) {
    bytes[at] = static_cast<char>(v);
    bytes[at + 1] = static_cast<char>(v >> 8);
  }
  void Set32(std::size_t at, std::uint32_t v) {
    StoreLe32(reinterpret_cast<std::uint8_t*>(&bytes[at]), v);
  }
  std::uint32_t Get32(std::size_t at) const {
    return LoadLe32(reinterpret_cast<const std::uint8_t*>(&bytes[at]));
  }

  SetupFile(std::uint16_t magic, std::size_t projectSize, std::size_t certificateSize) {
    const bool plus = magic == 0x20B;
    bytes.assign(kStub, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    Set32(0x3C, kPe);
    bytes.replace(kPe, 4, std::string("PE\0\0", 4));
    Set16(kPe + 20, plus ? 240 : 224);
    Set16(kOptional, magic);
    Set32(kOptional + (plus ? 108 : 92), 16);
    directory = kOptional + (plus ? 112 : 96) + 4 * 8;
    bytes += test::NoiseBytes(projectSize, 7);
    PackageTrailer t;
    t.SetIdentityText("123456789020050123202058");
    t.projectOffset = kStub;
    t.projectSize = projectSize;
    t.reserved = 2;
    t.volumeNumber = 1;
    trailer = t.Encode();
    bytes.append(trailer.begin(), trailer.end());
    if (certificateSize == 0) return;
    bytes.append((8 - bytes.size() % 8) % 8, '\0');
    certificates = bytes.size();
    bytes += test::NoiseBytes(certificateSize, 9);
    Set32(certificates, static_cast<std::uint32_t>(certificateSize));
    Set32(certificates + 4, 0x00020200);  // revision 2.0, PKCS#7 signed data
    Set32(directory, static_cast<std::uint32_t>(certificates));
    Set32(directory + 4, static_cast<std::uint32_t>(certificateSize));
  }
};

TEST(LocateSetupTrailer, FindsTheTrailerOfUnsignedAndSignedFilesAndRefusesLies) {
  using Spoil = std::function<void(SetupFile&)>;
  const Spoil none = [](SetupFile&) {};
  struct Case {
    const char* what;
    std::uint16_t magic;
    std::size_t projectSize;  // 1024 + size + 88 modulo 8 gives the padding
    std::size_t certificateSize;
    Spoil spoil;
    bool found;
  } cases[] = {
      {"unsigned", 0x10B, 301, 0, none, true},
      {"unsigned, no PE image at all", 0x10B, 301, 0, [](SetupFile& f) { f.bytes[0] = 'X'; }, true},
      {"shorter than a trailer", 0x10B, 301, 0, [](SetupFile& f) { f.bytes.resize(87); }, false},
      {"signed PE32, no padding", 0x10B, 304, 1200, none, true},
      {"signed PE32, 3 bytes of padding", 0x10B, 301, 1200, none, true},
      {"signed PE32+, 7 bytes of padding", 0x20B, 297, 1200, none, true},
      {"signed PE32+, 1 byte of padding", 0x20B, 303, 1200, none, true},
      {"signed, no MZ", 0x10B, 301, 1200, [](SetupFile& f) { f.bytes[1] = 'Y'; }, false},
      {"table past the end of the file", 0x10B, 301, 1200,
       [](SetupFile& f) { f.Set32(f.directory, f.Get32(f.directory) + 8); }, false},
      {"table ending before the end of the file", 0x10B, 301, 1200,
       [](SetupFile& f) { f.Set32(f.directory + 4, f.Get32(f.directory + 4) - 8); }, false},
      {"table overlapping the trailer", 0x10B, 301, 1200,
       [](SetupFile& f) {
         f.Set32(f.directory, f.Get32(f.directory) - 40);
         f.Set32(f.directory + 4, f.Get32(f.directory + 4) + 40);
       },
       false},
      {"table over the whole file", 0x10B, 301, 1200,
       [](SetupFile& f) {
         f.Set32(f.directory, 0);
         f.Set32(f.directory + 4, static_cast<std::uint32_t>(f.bytes.size()));
       },
       false},
      {"absurdly large table", 0x10B, 301, (std::size_t{16} << 20) + 8, none, false},
      {"PE header past the end", 0x10B, 301, 1200,
       [](SetupFile& f) { f.Set32(0x3C, static_cast<std::uint32_t>(f.bytes.size() - 10)); }, false},
      {"optional header larger than the file", 0x10B, 301, 1200,
       [](SetupFile& f) { f.Set16(SetupFile::kPe + 20, 0xFFFF); }, false},
      {"optional header without the directory", 0x10B, 301, 1200,
       [](SetupFile& f) { f.Set16(SetupFile::kPe + 20, 96 + 4 * 8); }, false},
      {"four directories only", 0x20B, 301, 1200,
       [](SetupFile& f) { f.Set32(SetupFile::kOptional + 108, 4); }, false},
      {"unknown optional header", 0x10B, 301, 1200,
       [](SetupFile& f) { f.Set16(SetupFile::kOptional, 0x107); }, false},
      {"first certificate longer than the table", 0x10B, 301, 1200,
       [](SetupFile& f) { f.Set32(f.certificates, 1208); }, false},
      {"padding not zero", 0x10B, 301, 1200,
       [](SetupFile& f) { f.bytes[f.certificates - 1] = 0x5A; }, false},
      {"project stream past the trailer", 0x10B, 301, 1200,
       [](SetupFile& f) { f.Set32(f.certificates - 3 - kTrailerSize + 72, 0x7FFFFFFF); }, false},
      {"trailer of a later volume", 0x10B, 304, 1200,
       [](SetupFile& f) { f.Set32(f.certificates - 4, 2); }, false},
  };
  test::ScratchFolder dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetupFile f(c.magic, c.projectSize, c.certificateSize);
    c.spoil(f);
    dir.WriteFile("Setup.exe", f.bytes);
    auto file = dir.Files().Open(dir.Path("Setup.exe"), platform::OpenMode::Read);
    ASSERT_TRUE(file);
    const auto located = LocateSetupTrailer(*file);
    ASSERT_EQ(located.has_value(), c.found);
    if (!located) continue;
    EXPECT_EQ(located->position, SetupFile::kStub + c.projectSize);
    EXPECT_EQ(located->trailer.Encode(), f.trailer);
  }
}

}  // namespace
}  // namespace tarn::package
