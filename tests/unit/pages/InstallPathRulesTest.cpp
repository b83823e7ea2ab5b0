#include "pages/InstallPathRules.h"

#include <gtest/gtest.h>

#include "support/ScratchFolder.h"

namespace tarn::pages {
namespace {

TEST(InstallPathRules, SizeNumbersKeepAtMostTwoDecimals) {
  const struct {
    std::int64_t bytes;
    const char* number;
  } cases[] = {
      {6565277, "6.26"},
      {1048576, "1."},  // the general format keeps the point
      {10 * 1048576, "10."},
      {1048576 + 524288, "1.5"},  // one decimal stays one decimal
      {524288, "0.5"},
      {1048575, "0.99"},  // cut, not rounded
      {104857600 + 1048575, "100.99"},
      {0, "0."},
      {1, "0.00"},                      // tiny figures stay in fixed notation
      {3LL * 1024 * 1048576, "3072."},  // beyond 32 bits
      {-1048576, "-1."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatMegabytes(static_cast<double>(c.bytes) / 1048576.0), c.number) << c.bytes;
  }
  test::ScratchFolder dir;
  dir.WriteFile("lang.ini",
                "[Language=409]\r\nChangePathSoftSizeDesc1=The program requires at least\r\n"
                "ChangePathSoftSizeDesc2=of disk space.\r\n");
  project::LanguageTable texts(0x409, 1252);
  texts.Load(dir.Path("lang.ini"), dir.Files());
  EXPECT_EQ(SoftwareSizeLine(texts, 6565277),
            "The program requires at least 6.26 MB of disk space.");
}

TEST(InstallPathRules, KeepsTheRelativeFolderWhenAnotherPlaceIsChosen) {
  const std::string pf = "C:\\Program Files";
  const std::string longPath = "C:\\" + std::string(kMaxStartingPathLength - 3, 'x');
  const struct {
    std::string start;
    std::string relative;
    bool underProgramFiles;
    std::string chosen;
    std::optional<std::string> composed;
  } cases[] = {
      {"C:\\Program Files\\Tarn Sample", "Tarn Sample", true,
       "D:", "D:\\Program Files\\Tarn Sample"},
      {"C:\\Program Files\\Tarn Sample", "Tarn Sample", true,
       "C:", "C:\\Program Files\\Tarn Sample"},
      {"C:\\Program Files\\Tarn Sample", "Tarn Sample", true, "E:\\Tools",
       "E:\\Tools\\Tarn Sample"},
      {"D:\\Apps\\MyApp", "Apps\\MyApp", false, "E:", "E:\\Apps\\MyApp"},
      {"D:\\Apps\\MyApp", "Apps\\MyApp", false, "E:\\Tools", "E:\\Tools\\Apps\\MyApp"},
      // The Program Files folder itself, and names that only begin like it.
      {"C:\\Program Files", "", true, "D:", "D:\\Program Files\\"},
      {"C:\\Program Files2\\App", "Program Files2\\App", false, "D:", "D:\\Program Files2\\App"},
      {"c:\\program files\\App", "program files\\App", false, "D:", "D:\\program files\\App"},
      {"C:\\", "", false, "E:\\Tools", "E:\\Tools\\"},
      {"C:", "", false, "E:", "E:\\"},
      {"", "", false, "E:", "E:\\"},
      {"D:\\Apps", "Apps", false, "", std::nullopt},
      // At the limit the folder is kept; beyond it nothing is (the frame refuses such paths).
      {longPath, longPath.substr(3), false, "E:", "E:\\" + longPath.substr(3)},
      {longPath + "y", "", false, "E:", "E:\\"},
      {"C:\\Program Files\\" + std::string(2000, 'z'), "", false, "D:", "D:\\"},
  };
  for (const auto& c : cases) {
    const RelativeFolder split = SplitStartingPath(c.start, pf);
    EXPECT_EQ(split.folder, c.relative) << c.start;
    EXPECT_EQ(split.underProgramFiles, c.underProgramFiles) << c.start;
    EXPECT_EQ(ComposeInstallPath(c.chosen, split, pf), c.composed) << c.start << " + " << c.chosen;
  }
  // A 300-character choice composes in full; refusing it is the frame's business.
  const std::string deep = "E:\\" + std::string(300, 'd');
  EXPECT_EQ(ComposeInstallPath(deep, SplitStartingPath("D:\\Apps", pf), pf), deep + "\\Apps");
}

TEST(InstallPathRules, OffersHardAndRemovableDrivesButNeverA) {
  const struct {
    const char* root;
    DriveKind kind;
    bool offered;
  } cases[] = {
      {"C:\\", DriveKind::Fixed, true},
      {"B:\\", DriveKind::Removable, true},
      {"A:\\", DriveKind::Removable, false},
      {"a:\\", DriveKind::Fixed, false},
      {"D:\\", DriveKind::CdRom, false},
      {"N:\\", DriveKind::Remote, false},
      {"R:\\", DriveKind::RamDisk, false},
      {"U:\\", DriveKind::Unknown, false},
      {"V:\\", DriveKind::NoRootDirectory, false},
      {"", DriveKind::Fixed, false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsOfferedDrive(c.root, c.kind), c.offered) << c.root;

  EXPECT_EQ(FreeMegabytes(0), 0u);
  EXPECT_EQ(FreeMegabytes((1u << 20) - 1), 0u);
  EXPECT_EQ(FreeMegabytes(5ULL << 40 | 12345), 5ULL << 20);

  test::ScratchFolder dir;
  dir.WriteFile("lang.ini",
                "[Language=409]\r\nChangePathFreeSpaceDesc1=Disk \r\nChangePathFreeSpaceDesc2=:\r\n"
                "ChangePathFreeSpaceDesc3=free space\r\n");
  project::LanguageTable texts(0x409, 1252);
  texts.Load(dir.Path("lang.ini"), dir.Files());
  EXPECT_EQ(DriveLine(texts, 'C', 6ULL << 30), "Disk C: 6144 MB free space");
  EXPECT_EQ(DriveLine(texts, 'E', std::nullopt), "Disk E:");

  EXPECT_EQ(SplitZeroList(std::string_view("C:\\\0D:\\\0\0", 9)),
            (std::vector<std::string>{"C:\\", "D:\\"}));
  EXPECT_EQ(SplitZeroList(std::string_view("\0", 1)), std::vector<std::string>{});
  EXPECT_EQ(SplitZeroList("Z:\\"), std::vector<std::string>{"Z:\\"});
}

}  // namespace
}  // namespace tarn::pages
