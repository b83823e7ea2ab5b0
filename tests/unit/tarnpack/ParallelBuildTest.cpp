// The package's bytes do not depend on how many threads compress it, nor on when it is built.
#include <gtest/gtest.h>

#include <array>
#include <map>

#include "package/PackageEntry.h"
#include "package/PackageReader.h"
#include "support/LzmaStreams.h"
#include "support/ProjectDocument.h"
#include "support/ScratchFolder.h"
#include "tarnpack/LzmaStreamWriter.h"
#include "tarnpack/PackageBuilder.h"
#include "tarnpack/StreamPipeline.h"
#include "text/ByteText.h"

namespace tarnpack {
namespace {

using tarn::package::PackageTrailer;

std::string TextOf(std::size_t size, int seed) {
  std::string text;
  while (text.size() < size) text += "line " + std::to_string(seed * 7919 + text.size()) + "\r\n";
  return text.substr(0, size);
}

class ParallelBuild : public testing::Test {
 protected:
  ParallelBuild() {
    dir.WriteFile("TarnSetup.exe", tarn::test::NoiseBytes(5000, 1));
    sources["lang.ini"] = "[Language=409]\r\nSureDesc=OK\r\n";
    sources["empty.txt"] = "";
    sources["empty.dat"] = "";
    sources["noise.bin"] = tarn::test::NoiseBytes(70000, 3);
    for (int i = 0; i < 10; ++i)
      sources["t" + std::to_string(i) + ".txt"] = TextOf(1000 + 9000 * i, i);
    std::string files = "<File>[TempFileDir]\\~TarnInstall-Language.ini,lang.ini,K</File>\r\n";
    for (const auto& [name, bytes] : sources) {
      if (name == "lang.ini") continue;
      const bool stored = name == "empty.dat" || name == "noise.bin";
      files += "<File>[InstallDir]\\" + name + "," + name + (stored ? ",N" : ",A") + "</File>\r\n";
    }
    for (const auto& [name, bytes] : sources) dir.WriteFile(name, bytes);
    dir.WriteFile("project.xml", tarn::test::ProjectDocument(
                                     "<ProjectName>P</ProjectName>\r\n<DiskSize></DiskSize>\r\n"
                                     "<SoftwareSize></SoftwareSize>\r\n<FileQty></FileQty>\r\n",
                                     "<Folder>[InstallDir]</Folder>\r\n", files));
  }

  // Builds into `folder` and returns every file of the package by name.
  std::map<std::string, std::string> Build(const std::string& folder, unsigned threads,
                                           std::optional<std::int64_t> diskSize) {
    dir.MakeFolder(folder);
    BuildOptions options;
    options.stubPath = dir.HostPath("TarnSetup.exe");
    options.projectPath = dir.HostPath("project.xml");
    options.outputPath = dir.HostPath(folder + "\\Setup.exe");
    options.uninstallerPath = dir.HostPath("t0.txt");
    options.diskSize = diskSize;
    options.threads = threads;
    BuildResult result;
    std::string error;
    EXPECT_TRUE(BuildPackage(options, result, error)) << error;
    std::map<std::string, std::string> files;
    for (std::int32_t v = 1; v <= result.volumes; ++v) {
      const std::string name = v == 1 ? "Setup.exe" : "Setup" + std::to_string(v) + ".Cab";
      EXPECT_TRUE(dir.ReadFile(folder + "\\" + name, files[name])) << name;
    }
    EXPECT_FALSE(dir.Exists(folder + "\\Setup" + std::to_string(result.volumes + 1) + ".Cab"));
    return files;
  }

  static std::string Identity(const std::string& file) {
    std::array<std::uint8_t, tarn::package::kTrailerSize> bytes{};
    std::copy(file.end() - bytes.size(), file.end(), bytes.begin());
    return PackageTrailer::Decode(bytes).IdentityText();
  }

  tarn::test::ScratchFolder dir;
  std::map<std::string, std::string> sources;
};

TEST_F(ParallelBuild, OneAndFourThreadsWriteTheSameBytesInOneVolumeAndInSeveral) {
  for (const std::optional<std::int64_t> diskSize :
       {std::optional<std::int64_t>(), std::optional<std::int64_t>(30000)}) {
    SCOPED_TRACE(diskSize ? "volumes of 30000 bytes" : "one volume");
    const std::string tag = diskSize ? "split" : "whole";
    const auto one = Build(tag + "1", 1, diskSize);
    const auto four = Build(tag + "4", 4, diskSize);
    const auto again = Build(tag + "4b", 4, diskSize);
    EXPECT_TRUE(diskSize ? one.size() >= 3 : one.size() == 1) << one.size();
    ASSERT_EQ(four.size(), one.size());
    for (const auto& [name, bytes] : one) {
      EXPECT_TRUE(four.at(name) == bytes) << name;
      EXPECT_TRUE(again.at(name) == bytes) << name;
      // Every volume carries the setup file's identity, also those closed before it was known.
      EXPECT_EQ(Identity(bytes), Identity(one.at("Setup.exe"))) << name;
    }
    EXPECT_EQ(Identity(one.at("Setup.exe")).size(), 24u);

    // What was written reads back through the setup program's reader, across the volumes.
    std::atomic<bool> over{false};
    tarn::package::PackageReader reader(dir.Files(), over);
    std::array<std::uint8_t, tarn::package::kTrailerSize> tail{};
    const std::string& setup = four.at("Setup.exe");
    std::copy(setup.end() - tail.size(), setup.end(), tail.begin());
    const PackageTrailer trailer = PackageTrailer::Decode(tail);
    reader.SetTrailer(trailer);
    reader.SetCapacity(static_cast<std::int64_t>(trailer.projectSize));
    ASSERT_TRUE(reader.OpenVolume(dir.Path(tag + "4\\Setup.exe"), false));
    ASSERT_TRUE(reader.ExtractEntry(dir.Path("project.out"),
                                    static_cast<std::int64_t>(trailer.projectOffset),
                                    static_cast<std::int64_t>(trailer.projectSize), false));
    reader.SetSpanning(true);
    reader.SetCapacity(diskSize.value_or(2147483647));
    std::string project;
    dir.ReadFile("project.out", project);
    std::size_t checked = 0;
    for (const auto& line : tarn::text::SplitCrLfLines(project)) {
      if (line.rfind("<File>", 0) != 0) continue;
      const auto e = tarn::package::PackageEntry::Parse(line.substr(6, line.size() - 13));
      ASSERT_TRUE(e);
      const std::string target = e->Target();
      const std::string name = target.substr(target.find('\\') + 1);
      const std::string source = name == "~TarnInstall-Language.ini" ? "lang.ini"
                                 : name == "Tarn-UnInstall.exe"      ? "t0.txt"
                                                                     : name;
      ASSERT_TRUE(reader.ExtractEntry(dir.Path("out.bin"), e->Offset(), e->CompressedSize(),
                                      e->Kind() == tarn::package::EntryKind::Stored))
          << line;
      std::string bytes;
      dir.ReadFile("out.bin", bytes);
      EXPECT_TRUE(bytes == sources.at(source)) << line;
      EXPECT_TRUE(source != "empty.dat" || e->CompressedSize() == 0) << line;
      ++checked;
    }
    EXPECT_EQ(checked, sources.size() + 1);
    EXPECT_FALSE(over);
  }
}

TEST_F(ParallelBuild, TheIdentityFollowsTheContentNotTheClock) {
  const std::string before = Identity(Build("a", 2, {}).at("Setup.exe"));
  const std::string same = Identity(Build("b", 2, {}).at("Setup.exe"));
  EXPECT_EQ(same, before);
  // One byte more in a source makes another package: its volumes must not pass for this one's.
  dir.WriteFile("t3.txt", sources["t3.txt"] + "!");
  const std::string changed = Identity(Build("c", 2, {}).at("Setup.exe"));
  EXPECT_NE(changed.substr(0, 10), before.substr(0, 10));
  // Another split of the same files is another package too.
  const auto split = Build("d", 2, 30000);
  EXPECT_NE(Identity(split.at("Setup.exe")).substr(0, 10), changed.substr(0, 10));
}

// The pipeline on its own: streams waiting for their turn may hold a single byte, so nearly every
// chunk waits; the output is still each stream in order, and an error names the first source in
// list order that failed, whichever thread met it first.
TEST_F(ParallelBuild, StreamsComeOutInListOrderWhateverWaits) {
  std::vector<StreamSource> list;
  std::string expected;
  for (const auto& [name, bytes] : sources) {
    const bool stored = name == "noise.bin";
    list.push_back({dir.HostPath(name), bytes.size(), stored});
    expected += stored ? bytes : LzmaCompress(bytes);
  }
  for (const unsigned threads : {1u, 4u}) {
    PipelineOptions options;
    options.threads = threads;
    options.waitingBytes = 1;
    std::vector<BuildProgress> reports;
    options.progress = [&](const BuildProgress& p) { reports.push_back(p); };
    std::string out, error;
    std::vector<std::size_t> ends;
    const ByteSink sink = [&](const std::uint8_t* d, std::size_t n) {
      out.append(reinterpret_cast<const char*>(d), n);
      return true;
    };
    ASSERT_TRUE(WriteStreams(
        list, options, sink, [&](std::size_t i) { ends.push_back(i); }, error))
        << error;
    EXPECT_TRUE(out == expected) << threads;
    EXPECT_EQ(ends.size(), list.size());
    EXPECT_TRUE(std::is_sorted(ends.begin(), ends.end()));
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back().filesDone, list.size());
    EXPECT_EQ(reports.back().bytesDone, reports.back().bytes);

    auto broken = list;
    broken[3].path = dir.HostPath("gone.txt");
    broken[5].size += 1;  // a file shorter than it was when it was inspected
    broken[8].path = dir.HostPath("gone too.txt");
    out.clear();
    EXPECT_FALSE(WriteStreams(
        broken, options, sink, [](std::size_t) {}, error));
    EXPECT_NE(error.find("gone.txt: cannot open"), std::string::npos) << error;
    broken[3] = list[3];
    EXPECT_FALSE(WriteStreams(
        broken, options, sink, [](std::size_t) {}, error));
    EXPECT_NE(error.find(list[5].path + ": the file is shorter"), std::string::npos) << error;
    const ByteSink full = [](const std::uint8_t*, std::size_t) { return false; };
    EXPECT_FALSE(WriteStreams(
        list, options, full, [](std::size_t) {}, error));
    EXPECT_NE(error.find("cannot write the package"), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace tarnpack
