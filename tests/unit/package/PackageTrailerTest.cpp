#include "package/PackageTrailer.h"

#include <gtest/gtest.h>

#include <fstream>

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

}  // namespace
}  // namespace tarn::package
