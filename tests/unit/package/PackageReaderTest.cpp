#include "package/PackageReader.h"

#include <gtest/gtest.h>

#include <deque>

#include "package/LzmaHeader.h"
#include "package/PackageAddress.h"
#include "platform/ForwardingFileSystem.h"
#include "support/LzmaStreams.h"
#include "support/ScratchFolder.h"

namespace tarn::package {
namespace {

using test::LzmaWithEndMarker;
using test::LzmaWithoutEndMarker;
using test::NoiseBytes;

// Answers the insert-media question from a script and remembers what was asked.
class ScriptedPrompt : public VolumePrompt {
 public:
  std::optional<std::string> AskForVolume(const std::string& expected,
                                          std::int32_t volume) override {
    asked.push_back({expected, volume});
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::optional<std::string>> answers;
  std::vector<std::pair<std::string, std::int32_t>> asked;
};

// Lays out a package: the stub and the streams in one address space, cut into volumes of
// `capacity` bytes, each followed by a trailer with the package identity.
class PackageFixture : public testing::Test {
 protected:
  PackageFixture() {
    trailer.SetIdentityText("012345678920261208101010");
    trailer.reserved = 2;
    trailer.volumeNumber = 1;
  }

  // Appends a stream to the address space and returns its package offset.
  std::int64_t Add(const std::string& stream) {
    const auto offset = static_cast<std::int64_t>(image.size());
    image += stream;
    return offset;
  }

  void WriteVolumes(std::int64_t capacity, const std::string& foreignIdentity = "") {
    capacity_ = capacity;
    const auto bytes = trailer.Encode();
    const std::string trailerBytes(bytes.begin(), bytes.end());
    for (std::int64_t v = 1; (v - 1) * capacity < static_cast<std::int64_t>(image.size()); ++v) {
      std::string content = image.substr(static_cast<std::size_t>((v - 1) * capacity),
                                         static_cast<std::size_t>(capacity));
      PackageTrailer t = trailer;
      if (!foreignIdentity.empty() && v > 1) t.SetIdentityText(foreignIdentity);
      const auto tb = t.Encode();
      content += std::string(tb.begin(), tb.end());
      dir.WriteFile(v == 1 ? "Setup.exe" : VolumeFileName(v), content);
    }
  }

  bool Open() {
    reader.SetTrailer(trailer);
    reader.SetCapacity(capacity_);
    reader.SetVolumePrompt(&prompt);
    if (!reader.OpenVolume(dir.Path("Setup.exe"), false)) return false;
    reader.SetSpanning(true);
    return true;
  }

  std::string Extracted(const std::string& name) {
    std::string bytes;
    EXPECT_TRUE(dir.ReadFile(name, bytes)) << name;
    return bytes;
  }

  test::ScratchFolder dir;
  std::atomic<bool> over{false};
  PackageReader reader{dir.Files(), over};
  ScriptedPrompt prompt;
  PackageTrailer trailer;
  std::string image = std::string(1000, 'S');  // the setup program in front of the data
  std::int64_t capacity_ = 0;
};

TEST(LzmaHeader, PropertiesByte) {
  const auto p = DecodeLzmaProperties(0x5D);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->lc, 3u);
  EXPECT_EQ(p->lp, 0u);
  EXPECT_EQ(p->pb, 2u);
  EXPECT_EQ(EncodeLzmaProperties(*p), 0x5D);
  EXPECT_FALSE(DecodeLzmaProperties(225));
  const auto q = DecodeLzmaProperties(224);
  ASSERT_TRUE(q);
  EXPECT_EQ(q->pb, 4u);
  EXPECT_EQ(q->lp, 4u);
  EXPECT_EQ(q->lc, 8u);
}

TEST_F(PackageFixture, StoredStreamsOfEveryPieceShape) {
  const std::size_t sizes[] = {1, 40959, 40960, 40961, 2 * 40960 + 7};
  std::vector<std::pair<std::int64_t, std::string>> entries;
  for (std::size_t size : sizes) {
    const std::string data = NoiseBytes(size, static_cast<std::uint32_t>(size));
    entries.push_back({Add(data), data});
  }
  WriteVolumes(1 << 20);
  ASSERT_TRUE(Open());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string name = "stored" + std::to_string(i) + ".bin";
    const auto& [offset, data] = entries[i];
    ASSERT_TRUE(
        reader.ExtractEntry(dir.Path(name), offset, static_cast<std::int64_t>(data.size()), true));
    EXPECT_EQ(Extracted(name), data) << data.size();
  }
  EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(PackageFixture, CompressedStreamsInBothForms) {
  const std::string hello = "Hello, Tarn!\r\n";
  // Made by `xz --format=lzma -9`, with the real size written into the header afterwards.
  const std::uint8_t fromXz[] = {0x5d, 0x00, 0x00, 0x00, 0x04, 0x0e, 0x00, 0x00, 0x00, 0x00,
                                 0x00, 0x00, 0x00, 0x00, 0x24, 0x19, 0x49, 0x98, 0x6f, 0x16,
                                 0x02, 0x88, 0xac, 0xca, 0x5a, 0xd0, 0xef, 0x19, 0x10, 0xc7,
                                 0x13, 0x36, 0x7f, 0xff, 0xc8, 0xee, 0x00, 0x00};
  const std::string compressible = [] {
    std::string s;
    for (int i = 0; s.size() < 700000; ++i) s += "line " + std::to_string(i % 977) + "\r\n";
    return s;
  }();
  const std::string noise = NoiseBytes(300000, 7);
  struct Case {
    std::string stream;
    std::string data;
  } cases[] = {
      {std::string(std::begin(fromXz), std::end(fromXz)), hello},
      {LzmaWithEndMarker(hello), hello},
      {LzmaWithoutEndMarker(hello), hello},
      {LzmaWithEndMarker(std::string(1, 'x')), std::string(1, 'x')},
      {LzmaWithoutEndMarker(""), ""},
      {LzmaWithEndMarker(compressible), compressible},
      {LzmaWithoutEndMarker(compressible), compressible},
      {LzmaWithEndMarker(noise), noise},
      {LzmaWithoutEndMarker(noise), noise},
  };
  std::vector<std::int64_t> offsets;
  for (const auto& c : cases) offsets.push_back(Add(c.stream));
  WriteVolumes(1 << 24);
  ASSERT_TRUE(Open());
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const std::string name = "c" + std::to_string(i) + ".bin";
    ASSERT_TRUE(reader.ExtractEntry(dir.Path(name), offsets[i],
                                    static_cast<std::int64_t>(cases[i].stream.size()), false))
        << "case " << i;
    EXPECT_EQ(Extracted(name), cases[i].data) << "case " << i;
  }
  EXPECT_FALSE(over);
}

TEST_F(PackageFixture, EmptyStreamCreatesAnEmptyFileWithoutReading) {
  dir.WriteFile("empty.txt", "old content");
  WriteVolumes(1 << 20);
  ASSERT_TRUE(Open());
  // An offset far beyond the package: nothing is read, so nothing can fail.
  ASSERT_TRUE(reader.ExtractEntry(dir.Path("empty.txt"), 999, 0, false));
  EXPECT_EQ(Extracted("empty.txt"), "");
}

TEST_F(PackageFixture, BrokenStreamsFail) {
  const std::string data = NoiseBytes(5000, 3) + std::string(20000, 'a');
  const std::string good = LzmaWithoutEndMarker(data);

  std::string corrupted = good;
  for (std::size_t i = 40; i < corrupted.size(); i += 97)
    corrupted[i] = static_cast<char>(~corrupted[i]);
  std::string tooLong = good;  // header claims one byte more than the data holds
  tooLong[5] = static_cast<char>(tooLong[5] + 1);
  std::string tooShort = LzmaWithEndMarker(data);  // header claims one byte less
  tooShort[5] = static_cast<char>(tooShort[5] - 1);
  std::string tooShortNoMarker = good;
  tooShortNoMarker[5] = static_cast<char>(tooShortNoMarker[5] - 1);
  std::string unknownSize = good;
  for (int i = 5; i < 13; ++i) unknownSize[i] = '\xFF';
  std::string badProperties = good;
  badProperties[0] = '\xE1';

  struct Case {
    const char* what;
    std::string stream;
    std::int64_t size;
  } cases[] = {
      {"corrupted", corrupted, static_cast<std::int64_t>(corrupted.size())},
      {"truncated", good.substr(0, good.size() / 2), static_cast<std::int64_t>(good.size() / 2)},
      {"shorter than its header", good.substr(0, 12), 12},
      {"header size too large", tooLong, static_cast<std::int64_t>(tooLong.size())},
      {"header size too small", tooShort, static_cast<std::int64_t>(tooShort.size())},
      {"header size too small, no end marker", tooShortNoMarker,
       static_cast<std::int64_t>(tooShortNoMarker.size())},
      {"unknown size", unknownSize, static_cast<std::int64_t>(unknownSize.size())},
      {"impossible properties", badProperties, static_cast<std::int64_t>(badProperties.size())},
  };
  std::vector<std::int64_t> offsets;
  for (const auto& c : cases) offsets.push_back(Add(c.stream));
  WriteVolumes(1 << 24);
  ASSERT_TRUE(Open());
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    dir.WriteFile("bad.bin", "an earlier version");
    EXPECT_FALSE(reader.ExtractEntry(dir.Path("bad.bin"), offsets[i], cases[i].size, false))
        << cases[i].what;
    // Whatever was written before the failure is gone, never left half-written.
    EXPECT_FALSE(dir.Exists("bad.bin")) << cases[i].what;
  }
}

TEST_F(PackageFixture, PackageEndingEarlyFailsStoredAndCompressedStreams) {
  const std::string data = NoiseBytes(50000, 9);
  const std::int64_t stored = Add(data);
  const std::string stream = LzmaWithoutEndMarker(data);
  const std::int64_t compressed = Add(stream);
  // Cut the package file in the middle of the second stream.
  image.resize(static_cast<std::size_t>(compressed) + stream.size() / 2);
  WriteVolumes(1 << 24);
  // The sizes claim more than the file has: the first overruns into the trailer and beyond.
  ASSERT_TRUE(Open());
  EXPECT_FALSE(reader.ExtractEntry(dir.Path("s.bin"), compressed,
                                   static_cast<std::int64_t>(stream.size()), false));
  EXPECT_FALSE(reader.ExtractEntry(dir.Path("t.bin"), stored,
                                   static_cast<std::int64_t>(image.size()) + 500, true));
}

void MoveFile(const test::ScratchFolder& dir, const std::string& from, const std::string& to) {
  std::string bytes;
  ASSERT_TRUE(dir.ReadFile(from, bytes));
  dir.WriteFile(to, bytes);
  dir.Remove(from);
}

TEST_F(PackageFixture, StreamEndingExactlyAtTheVolumeEndNeedsNoSwitch) {
  const std::string data = NoiseBytes(3000, 1);
  const std::string stream = LzmaWithoutEndMarker(data);
  const std::int64_t offset = Add(stream);
  WriteVolumes(static_cast<std::int64_t>(image.size()));
  ASSERT_FALSE(dir.Exists("Setup2.Cab"));
  ASSERT_TRUE(Open());
  ASSERT_TRUE(reader.ExtractEntry(dir.Path("a.bin"), offset,
                                  static_cast<std::int64_t>(stream.size()), false));
  EXPECT_EQ(Extracted("a.bin"), data);
  EXPECT_TRUE(prompt.asked.empty());
  EXPECT_EQ(reader.CurrentVolume(), 1);
}

TEST_F(PackageFixture, OneByteInTheNextVolumeSwitchesWithoutAsking) {
  const std::string data = NoiseBytes(3000, 2);
  const std::string stream = LzmaWithEndMarker(data);
  const std::int64_t offset = Add(stream);
  WriteVolumes(static_cast<std::int64_t>(image.size()) - 1);
  ASSERT_TRUE(dir.Exists("Setup2.Cab"));
  ASSERT_TRUE(Open());
  ASSERT_TRUE(reader.ExtractEntry(dir.Path("a.bin"), offset,
                                  static_cast<std::int64_t>(stream.size()), false));
  EXPECT_EQ(Extracted("a.bin"), data);
  EXPECT_TRUE(prompt.asked.empty());
  EXPECT_EQ(reader.CurrentVolume(), 2);
  EXPECT_EQ(reader.Trailer().volumeNumber, 2u);
  EXPECT_EQ(reader.Trailer().reserved, 2u);
}

TEST_F(PackageFixture, MissingVolumeIsAskedForUntilFound) {
  const std::string first = NoiseBytes(700, 3), second = NoiseBytes(900, 4);
  const std::int64_t a = Add(first);
  const std::int64_t b = Add(second);
  WriteVolumes(1500);  // the second stream starts in volume 2 at position 200
  ASSERT_TRUE(dir.Exists("Setup2.Cab"));
  dir.MakeFolder("disk2");
  MoveFile(dir, "Setup2.Cab", "disk2\\Setup2.Cab");
  // A file of that name but another package's identity counts as missing too.
  dir.WriteFile(
      "elsewhere.cab", std::string(500, 'x') + [] {
        PackageTrailer other;
        other.SetIdentityText("another package");
        const auto bytes = other.Encode();
        return std::string(bytes.begin(), bytes.end());
      }());
  prompt.answers = {dir.Path("elsewhere.cab"), dir.Path("disk2\\Setup2.Cab")};

  ASSERT_TRUE(Open());
  ASSERT_TRUE(reader.ExtractEntry(dir.Path("a.bin"), a, 700, true));
  ASSERT_TRUE(reader.ExtractEntry(dir.Path("b.bin"), b, 900, true));
  EXPECT_EQ(Extracted("b.bin"), second);
  ASSERT_EQ(prompt.asked.size(), 2u);
  for (const auto& [expected, volume] : prompt.asked) {
    EXPECT_EQ(expected, dir.Path("Setup2.Cab"));
    EXPECT_EQ(volume, 2);
  }
  // Later volumes are still looked for next to the setup file.
  EXPECT_EQ(reader.VolumeFolder(), dir.Path() + "\\");
  EXPECT_FALSE(over);
}

// Every path opens the one setup file, so that names a scratch folder cannot hold still reach it.
class AnyPathOpensSetup : public platform::ForwardingFileSystem {
 public:
  AnyPathOpensSetup(platform::FileSystem& inner, std::string setup)
      : ForwardingFileSystem(&inner), inner_(inner), setup_(std::move(setup)) {}
  std::unique_ptr<platform::File> Open(const std::string&, platform::OpenMode mode) override {
    return inner_.Open(setup_, mode);
  }

 private:
  platform::FileSystem& inner_;
  std::string setup_;
};

TEST_F(PackageFixture, TheVolumeFolderEndsAtAWholeBackslash) {
  Add("data");
  WriteVolumes(1 << 20);
  AnyPathOpensSetup files(dir.Files(), dir.Path("Setup.exe"));
  // Big5 0xB3 0x5C: a character whose second byte is the backslash's.
  PackageReader big5(files, over, 950);
  ASSERT_TRUE(big5.OpenVolume("D:\\Big5\\\xB3\x5C\\Setup.exe", false));
  EXPECT_EQ(big5.VolumeFolder(), "D:\\Big5\\\xB3\x5C\\");
  ASSERT_TRUE(big5.OpenVolume("D:\\Big5\\\xB3\x5CSetup.exe", false));
  EXPECT_EQ(big5.VolumeFolder(), "D:\\Big5\\");
}

TEST_F(PackageFixture, GivingUpOnAVolumeEndsExtraction) {
  const std::string data = NoiseBytes(2000, 5);
  const std::int64_t offset = Add(data);
  WriteVolumes(1500);
  dir.Remove("Setup2.Cab");
  ASSERT_TRUE(Open());
  EXPECT_FALSE(reader.ExtractEntry(dir.Path("a.bin"), offset, 2000, true));
  EXPECT_TRUE(over);
  EXPECT_EQ(prompt.asked.size(), 1u);
}

TEST_F(PackageFixture, ForeignVolumeIsRefused) {
  const std::int64_t offset = Add(NoiseBytes(2000, 6));
  WriteVolumes(1500, "someone else's package");
  ASSERT_TRUE(Open());
  EXPECT_FALSE(reader.ExtractEntry(dir.Path("a.bin"), offset, 2000, true));
  EXPECT_EQ(prompt.asked.size(), 1u);
  EXPECT_TRUE(over);
}

TEST_F(PackageFixture, StreamsOutOfVolumeOrderFailCleanly) {
  const std::int64_t low = Add(NoiseBytes(100, 7));
  image += NoiseBytes(3000, 8);
  const std::int64_t high = Add(NoiseBytes(100, 9));  // in volume 3
  WriteVolumes(1500);
  ASSERT_TRUE(Open());
  EXPECT_FALSE(reader.ExtractEntry(dir.Path("h.bin"), high, 100, true));
  EXPECT_TRUE(prompt.asked.empty());
  EXPECT_FALSE(over);
  // Move on to volume 2, then ask for volume 1 again.
  ASSERT_TRUE(reader.ExtractEntry(dir.Path("m.bin"), 1600, 100, true));
  EXPECT_EQ(reader.CurrentVolume(), 2);
  EXPECT_FALSE(reader.ExtractEntry(dir.Path("l.bin"), low, 100, true));
  EXPECT_FALSE(over);
}

TEST_F(PackageFixture, OneReadMayCrossSeveralSmallVolumes) {
  const std::string data = NoiseBytes(450, 10);
  image = std::string(30, 'S');
  const std::int64_t offset = Add(data);
  WriteVolumes(100);
  ASSERT_TRUE(dir.Exists("Setup5.Cab"));
  ASSERT_TRUE(Open());
  ASSERT_TRUE(reader.ExtractEntry(dir.Path("a.bin"), offset, 450, true));
  EXPECT_EQ(Extracted("a.bin"), data);
  EXPECT_EQ(reader.CurrentVolume(), 5);
}

TEST_F(PackageFixture, RefusesVolumePathsTooLongForTheVolumeField) {
  WriteVolumes(1 << 20);
  ASSERT_TRUE(Open());
  EXPECT_FALSE(reader.OpenVolume(dir.Path(std::string(500, 'v')), true));
  EXPECT_FALSE(reader.OpenVolume("C:\\" + std::string(496, 'v'), true));
}

// A file layer whose files take only so many bytes, like a full disk.
class FullDisk : public platform::ForwardingFileSystem {
 public:
  FullDisk(platform::FileSystem& real, std::size_t room)
      : ForwardingFileSystem(&real), room_(room) {}
  std::unique_ptr<platform::File> Open(const std::string& path, platform::OpenMode mode) override {
    auto file = ForwardingFileSystem::Open(path, mode);
    if (!file || mode == platform::OpenMode::Read) return file;
    return std::make_unique<LimitedFile>(std::move(file), room_);
  }

 private:
  class LimitedFile : public platform::ForwardingFile {
   public:
    LimitedFile(std::unique_ptr<platform::File> f, std::size_t room)
        : ForwardingFile(std::move(f)), room_(room) {}
    bool Write(const void* d, std::size_t n) override {
      if (n > room_) return false;
      room_ -= n;
      return ForwardingFile::Write(d, n);
    }

   private:
    std::size_t room_;
  };
  std::size_t room_;
};

TEST_F(PackageFixture, FullDiskFailsTheExtraction) {
  const std::string data = NoiseBytes(100000, 11);
  const std::int64_t stored = Add(data);
  const std::string stream = LzmaWithoutEndMarker(data);
  const std::int64_t compressed = Add(stream);
  WriteVolumes(1 << 24);
  FullDisk disk(dir.Files(), 60000);
  PackageReader limited(disk, over);
  limited.SetTrailer(trailer);
  limited.SetCapacity(capacity_);
  ASSERT_TRUE(limited.OpenVolume(dir.Path("Setup.exe"), false));
  limited.SetSpanning(true);
  EXPECT_FALSE(limited.ExtractEntry(dir.Path("s.bin"), stored, 100000, true));
  EXPECT_FALSE(limited.ExtractEntry(dir.Path("c.bin"), compressed,
                                    static_cast<std::int64_t>(stream.size()), false));
  // With room enough, the same reader succeeds.
  FullDisk roomy(dir.Files(), 200000);
  PackageReader fine(roomy, over);
  fine.SetTrailer(trailer);
  fine.SetCapacity(capacity_);
  ASSERT_TRUE(fine.OpenVolume(dir.Path("Setup.exe"), false));
  fine.SetSpanning(true);
  EXPECT_TRUE(fine.ExtractEntry(dir.Path("c.bin"), compressed,
                                static_cast<std::int64_t>(stream.size()), false));
}

}  // namespace
}  // namespace tarn::package
