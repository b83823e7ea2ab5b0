#include "tarnpack/PackageBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "package/PackageEntry.h"
#include "package/PackageReader.h"
#include "support/LzmaStreams.h"
#include "support/ProjectDocument.h"
#include "support/ScratchFolder.h"
#include "text/ByteText.h"

namespace tarnpack {
namespace {

using tarn::package::PackageEntry;
using tarn::package::PackageReader;
using tarn::package::PackageTrailer;

std::string Document(const std::string& fileLines) {
  return tarn::test::ProjectDocument(
      "<ProjectName>Sample</ProjectName>\r\n<DiskSize></DiskSize>\r\n"
      "<SoftwareSize></SoftwareSize>\r\n<FileQty></FileQty>\r\n",
      "<Folder>[InstallDir]</Folder>\r\n", fileLines);
}

const std::string kFiles =
    "<File>[TempFileDir]\\~TarnInstall-Language.ini,lang.ini,K</File>\r\n"
    "<File>[InstallDir]\\a.txt,a.txt,A,2005-1-23 20:20:58</File>\r\n"
    "<File>[InstallDir]\\b,c.bin,data\\b.bin,n</File>\r\n";

class BuilderFixture : public testing::Test {
 protected:
  BuilderFixture() {
    dir.WriteFile("TarnSetup.exe", tarn::test::NoiseBytes(5000, 1));
    dir.WriteFile("lang.ini", "[Language=409]\r\nSureDesc=OK\r\n");
    std::string text;
    while (text.size() < 100000) text += "All work and no play. ";
    files["a.txt"] = text;
    dir.MakeFolder("data");
    files["data\\b.bin"] = tarn::test::NoiseBytes(50000, 2);
    for (const auto& [name, bytes] : files) dir.WriteFile(name, bytes);
  }

  bool Build(const std::string& document, std::optional<std::int64_t> diskSize = {}) {
    dir.WriteFile("project.xml", document);
    BuildOptions options;
    options.stubPath = dir.HostPath("TarnSetup.exe");
    options.projectPath = dir.HostPath("project.xml");
    options.outputPath = dir.HostPath("Setup.exe");
    options.diskSize = diskSize;
    options.uninstallerPath = uninstaller;
    options.identity =
        "1234567890"
        "20261208120000";
    return BuildPackage(options, result, error);
  }

  // Reads the package back through the setup program's own reader.
  std::string ProjectText(PackageReader& reader) {
    auto setup = dir.Files().Open(dir.Path("Setup.exe"), tarn::platform::OpenMode::Read);
    const auto trailer = tarn::package::ReadPackageTrailer(*setup);
    EXPECT_TRUE(trailer);
    EXPECT_EQ(trailer->IdentityText(), "123456789020261208120000");
    EXPECT_EQ(trailer->volumeNumber, 1u);
    reader.SetTrailer(*trailer);
    reader.SetCapacity(static_cast<std::int64_t>(trailer->projectSize));
    EXPECT_TRUE(reader.OpenVolume(dir.Path("Setup.exe"), false));
    EXPECT_TRUE(reader.ExtractEntry(dir.Path("project.out"),
                                    static_cast<std::int64_t>(trailer->projectOffset),
                                    static_cast<std::int64_t>(trailer->projectSize), false));
    reader.SetSpanning(true);
    std::string text;
    dir.ReadFile("project.out", text);
    return text;
  }

  std::vector<PackageEntry> Entries(const std::string& text) {
    std::vector<PackageEntry> entries;
    for (const auto& line : tarn::text::SplitCrLfLines(text)) {
      if (line.rfind("<File>", 0) == 0)
        entries.push_back(*PackageEntry::Parse(line.substr(6, line.size() - 13)));
    }
    return entries;
  }

  tarn::test::ScratchFolder dir;
  std::optional<std::string> uninstaller;
  std::map<std::string, std::string> files;
  BuildResult result;
  std::string error;
};

TEST_F(BuilderFixture, PackageReadsBackThroughTheSetupReader) {
  ASSERT_TRUE(Build(Document(kFiles))) << error;
  EXPECT_EQ(result.volumes, 1);
  std::atomic<bool> over{false};
  PackageReader reader(dir.Files(), over);
  const std::string text = ProjectText(reader);
  EXPECT_NE(text.find("<DiskSize>2147483647</DiskSize>\r\n"), std::string::npos);
  EXPECT_NE(text.find("<FileQty>2</FileQty>\r\n"), std::string::npos);
  const auto software = files["a.txt"].size() + files["data\\b.bin"].size();
  EXPECT_NE(text.find("<SoftwareSize>" + std::to_string(software) + "</SoftwareSize>\r\n"),
            std::string::npos);

  reader.SetCapacity(2147483647);
  const auto entries = Entries(text);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].Offset(), 5000);  // right after the setup program
  EXPECT_EQ(entries[0].Kind(), tarn::package::EntryKind::Installer);
  EXPECT_EQ(entries[1].TimeStampText(), "2005-1-23 20:20:58");
  EXPECT_EQ(entries[2].Target(), "[InstallDir]\\b,c.bin");
  EXPECT_EQ(entries[2].Kind(), tarn::package::EntryKind::Stored);
  EXPECT_EQ(entries[2].CompressedSize(), 50000);
  EXPECT_EQ(entries[1].Offset() + entries[1].CompressedSize(), entries[2].Offset());
  // A default time stamp is the source's modification time, in the entry's own form.
  EXPECT_EQ(tarn::package::ParseTimeStamp(entries[0].TimeStampText()).year >= 2020, true);

  const std::string expected[] = {"[Language=409]\r\nSureDesc=OK\r\n", files["a.txt"],
                                  files["data\\b.bin"]};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    ASSERT_TRUE(reader.ExtractEntry(dir.Path("out.bin"), entries[i].Offset(),
                                    entries[i].CompressedSize(),
                                    entries[i].Kind() == tarn::package::EntryKind::Stored))
        << entries[i].Line();
    std::string bytes;
    dir.ReadFile("out.bin", bytes);
    EXPECT_EQ(bytes, expected[i]) << i;
  }
}

TEST_F(BuilderFixture, PacksTheUninstallerBesideTheStubWhenTheProjectNamesNone) {
  const std::string own = "<File>[Windows Directory]\\Tarn-UnInstall.exe,a.txt,U</File>\r\n";
  const struct {
    const char* what;
    bool beside;
    std::optional<std::string> option;
    std::string extraLines;
    bool builds;
    const char* packed;  // the uninstaller's bytes, or nothing added
  } cases[] = {
      {"beside the stub", true, std::nullopt, "", true, "ours"},
      {"none beside the stub", false, std::nullopt, "", true, nullptr},
      {"named by the option", true, std::string("other.exe"), "", true, "another"},
      {"the project's own", true, std::nullopt, own, true, nullptr},
      {"the option naming a missing file", false, std::string("gone.exe"), "", false, nullptr},
  };
  dir.WriteFile("other.exe", "another");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.beside)
      dir.WriteFile("Tarn-UnInstall.exe", "ours");
    else
      dir.Remove("Tarn-UnInstall.exe");
    uninstaller.reset();
    if (c.option) uninstaller = dir.HostPath(*c.option);
    result = BuildResult();
    ASSERT_EQ(Build(Document(kFiles + c.extraLines)), c.builds) << error;
    if (!c.builds) continue;
    std::atomic<bool> over{false};
    PackageReader reader(dir.Files(), over);
    const auto entries = Entries(ProjectText(reader));
    const std::size_t uninstallers = static_cast<std::size_t>(std::count_if(
        entries.begin(), entries.end(),
        [](const PackageEntry& e) { return e.Kind() == tarn::package::EntryKind::Uninstaller; }));
    EXPECT_EQ(uninstallers, c.packed || !c.extraLines.empty() ? 1u : 0u);
    EXPECT_EQ(result.addedUninstaller.empty(), c.packed == nullptr);
    if (!c.packed) continue;
    const PackageEntry& last = entries.back();
    EXPECT_EQ(last.Target(), "[Windows Directory]\\Tarn-UnInstall.exe");
    EXPECT_EQ(last.Kind(), tarn::package::EntryKind::Uninstaller);
    reader.SetCapacity(2147483647);
    ASSERT_TRUE(
        reader.ExtractEntry(dir.Path("out.bin"), last.Offset(), last.CompressedSize(), false));
    std::string bytes;
    dir.ReadFile("out.bin", bytes);
    EXPECT_EQ(bytes, c.packed);
  }
}

TEST_F(BuilderFixture, SplitsIntoVolumesOfTheDiskSize) {
  ASSERT_TRUE(Build(Document(kFiles), 20000)) << error;
  EXPECT_EQ(result.volumes, 3);  // 5000 + ~40 + ~300 + 50000 bytes in 20000-byte volumes
  EXPECT_TRUE(dir.Exists("Setup3.Cab"));
  EXPECT_FALSE(dir.Exists("Setup4.Cab"));
  std::atomic<bool> over{false};
  PackageReader reader(dir.Files(), over);
  const std::string text = ProjectText(reader);
  EXPECT_NE(text.find("<DiskSize>20000</DiskSize>"), std::string::npos);
  reader.SetCapacity(20000);
  const auto entries = Entries(text);
  ASSERT_EQ(entries.size(), 3u);
  ASSERT_TRUE(reader.ExtractEntry(dir.Path("b.out"), entries[2].Offset(),
                                  entries[2].CompressedSize(), true));
  std::string bytes;
  dir.ReadFile("b.out", bytes);
  EXPECT_EQ(bytes, files["data\\b.bin"]);
  EXPECT_EQ(reader.CurrentVolume(), 3);
  EXPECT_FALSE(over);
}

TEST_F(BuilderFixture, RefusesDocumentsThatBreakTheFormat) {
  struct Case {
    std::string document;
    std::optional<std::int64_t> diskSize;
    std::string message;
  } cases[] = {
      {Document("<File>[InstallDir]\\a.txt,a.txt,A</File>\r\n"), {}, "line 17: the first file"},
      {Document(kFiles + "<File>[TempFileDir]\\x.bmp,a.txt,K</File>\r\n"),
       {},
       "line 20: files of kind K"},
      {Document("<File>[TempFileDir]\\l.ini,lang.ini,K</"
                "File>\r\n<File>[InstallDir]\\m,missing.txt,A</File>\r\n"),
       {},
       "line 18: the source file missing.txt is missing"},
      {Document("<File>[TempFileDir]\\l.ini,lang.ini,K</File>\r\n<File>[InstallDir]\\<x,a.txt,A</"
                "File>\r\n"),
       {},
       "line 18"},
      {Document("<File>[TempFileDir]\\l\r.ini,lang.ini,K</File>\r\n"),
       {},
       "line 17: a carriage return"},
      {Document("<File>[TempFileDir]\\l.ini,lang.ini</File>\r\n"), {}, "line 17: expected target"},
      {Document(kFiles), 0, "DiskSize must lie"},
      {Document(kFiles), 4000, "larger than the setup program"},
      {Document(""), {}, "the file list is empty"},
  };
  for (const auto& c : cases) {
    error.clear();
    EXPECT_FALSE(Build(c.document, c.diskSize)) << c.message;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace tarnpack
