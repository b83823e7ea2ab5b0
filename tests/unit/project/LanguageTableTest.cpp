#include "project/LanguageTable.h"

#include <gtest/gtest.h>

#include "support/ScratchFolder.h"
#include "text/ByteText.h"

namespace tarn::project {
namespace {

// The standard language file shipped with the sample product.
const std::string kStandardFile = std::string(TARN_SAMPLE_DIR) + "/Language.ini";

std::unique_ptr<platform::FileSystem> HostFiles() { return platform::MakeSystemFileSystem(); }

// The English texts of the standard file, by key index.
const std::pair<std::int32_t, const char*> kEnglish[] = {
    {0, " Setup"},
    {1, "Initialize TarnInstall Wizard..."},
    {2, "An error ocured while reading "},
    {3, "An error ocured while Writing "},
    {4, ". Do you want to abort this install?"},
    {5, "Cancel Install!"},
    {6, "&OK"},
    {7, "Select location"},
    {8, "Please insert the disk: "},
    {9, " Disk"},
    {10, " and click OK!"},
    {11, "Location:"},
    {12, "&Browse"},
    {13, "< &Back"},
    {14, "&Next >"},
    {15, "Cancel"},
    {16, "&Finish"},
    {17, "Exit Setup"},
    {18,
     "Setup is not complete. If you quit now, The program will not be installed. Exit "
     "Setup?"},
    {19, " Project Name "},
    {20, "Welcome to the "},
    {21, "Setup Wizard!"},
    {22, "It is recommended that you close all other applications before"},
    {23, "continue. Click Next to continue, or Cancel to exit Setup."},
    {24, "License Agreement"},
    {25, "Please read the following license agreement carefully."},
    {26, ""},
    {27, "I &accept the agreement"},
    {28, "I &do not accept the agreement"},
    {29, "Installation Notes"},
    {30, "Important installation information."},
    {31, "User Information"},
    {32, "Please fill in your user information and click Next to continue."},
    {33, "Company:"},
    {34, "Name:"},
    {36, "Select Program Folder"},
    {37, "Please select a program folder."},
    {38,
     "Setup will add program icons to the Program Folder listed below. You may type a new "
     "folder name, or select one from the existing folders list. Click Next to continue."},
    {39, "Program Folders:"},
    {40, "Existing Folders:"},
    {41, "Choose Destination Location"},
    {42, "Please change the destination location or use default."},
    {43, "You can change the destination location. Click Next to copy files."},
    {44, "Disk "},
    {45, ":"},
    {46, "The program requires at least "},
    {47, "of disk space."},
    {48, "free space"},
    {49, "Setup"},
    {50, "The program files are being installed."},
    {51, "Status: Installing..."},
    {52, "Status: Creating folders..."},
    {53, "Status: Copying new files..."},
    {54, "Status: Creating program icons..."},
    {55, "Status: Installing fonts..."},
    {56, "Status: Registering application components..."},
    {57, "Status: Creating registry items..."},
    {58, "Status: Removing temp files..."},
    {59, "Installation Complete"},
    {60, " is now installed."},
    {61, "I want to restart my computer now."},
    {62, "Message"},
    {63, " is now installed."},
    {64, "Uninstall "},
};

TEST(LanguageKeys, TokensAndTheirLookup) {
  EXPECT_EQ(LanguageToken(0), "|InstallDesc|");
  EXPECT_EQ(LanguageToken(20), "|WelcomeWndDesc1|");
  EXPECT_EQ(LanguageToken(36), "|ProgramFolderSubject|");
  EXPECT_EQ(LanguageToken(64), "|UnInstallDesc|");
  // The unused index and indices outside the table have no key.
  for (std::int32_t index : {35, 65, 66, -1}) EXPECT_EQ(LanguageToken(index), "||") << index;

  struct Case {
    const char* text;
    std::int32_t index;
  } cases[] = {
      {"|registerinfouserdesc|", 34},
      {"|RegisterInfoCompanyDesc|", 33},
      {"|RegisterInfoUserDesc| ", 66},
      {"RegisterInfoUserDesc", 66},
      {"||", 66},
      {"", 66},
      {"|WelcomeWndDesc1||ProjectName|", 66},
  };
  for (const auto& c : cases) EXPECT_EQ(LanguageTokenIndexOf(c.text), c.index) << c.text;
  for (std::int32_t index = 0; index < kLanguageKeyCount; ++index) {
    if (index == 35) continue;
    EXPECT_EQ(LanguageTokenIndexOf(LanguageToken(index)), index);
  }
}

TEST(LanguageKeys, LocaleTextIsUpperCaseHexadecimal) {
  EXPECT_EQ(LocaleText(0x804), "804");
  EXPECT_EQ(LocaleText(0xC04), "C04");
  EXPECT_EQ(LocaleText(0x1404), "1404");
  EXPECT_EQ(LocaleText(0x0409), "409");
  EXPECT_EQ(LocaleText(0), "0");
}

TEST(LanguageTable, StandardFileEnglishSection) {
  auto files = HostFiles();
  LanguageTable table(0x409, 1252);
  table.Load(kStandardFile, *files);
  EXPECT_EQ(table.LanguageCode(), "409");
  for (const auto& [index, text] : kEnglish) EXPECT_EQ(table.GetText(index), text) << index;
  EXPECT_EQ(table.GetText(35), "");
  // The uninstaller's keys travel with the section.
  for (const char* key : {"UnInstallButtonDesc=", "CloseButtonDesc=", "UnInstallWindowTitle=",
                          "UnInstallWindowSubject=", "UnInstallWindowDesc=",
                          "UnInstallWindowDesc2=", "UnInstallReadyDesc=", "RemoveFileDesc=",
                          "RemoveFolderDesc=", "RemoveRegistryDesc=", "UnInstallComplete="}) {
    bool found = false;
    for (const auto& line : table.Lines()) found = found || line.rfind(key, 0) == 0;
    EXPECT_TRUE(found) << key;
  }
}

TEST(LanguageTable, StandardFileChineseSections) {
  auto files = HostFiles();
  struct Case {
    std::uint32_t locale;
    std::uint32_t codePage;
    const char* code;
    const char* cancel;  // index 15 in the section's own code page
  } cases[] = {
      {0x804, 936, "804", "\xC8\xA1\xCF\xFB"},
      {0x404, 950, "404", "\xA8\xFA\xAE\xF8"},
      {0xC04, 950, "C04", "\xA8\xFA\xAE\xF8"},
      {0x1404, 950, "1404", "\xA8\xFA\xAE\xF8"},
  };
  for (const auto& c : cases) {
    LanguageTable table(c.locale, c.codePage);
    table.Load(kStandardFile, *files);
    EXPECT_EQ(table.LanguageCode(), c.code);
    EXPECT_EQ(table.GetText(15), c.cancel) << c.code;
    // Every key of the table has a line in every section.
    for (const auto& [index, text] : kEnglish) {
      const std::string translated = table.GetText(index);
      EXPECT_TRUE(index == 26 || !translated.empty()) << c.code << " " << index;
      EXPECT_TRUE(index == 26 || index == 45 || translated != text) << c.code << " " << index;
    }
  }
}

// Writes a language file into a scratch folder and loads it.
class LanguageFileTest : public ::testing::Test {
 protected:
  LanguageTable LoadText(const std::string& content, std::uint32_t locale,
                         std::uint32_t codePage = 1252) {
    EXPECT_TRUE(platform::WriteWholeFile(scratch.Files(), path, content));
    LanguageTable table(locale, codePage);
    table.Load(path, scratch.Files());
    return table;
  }

  test::ScratchFolder scratch;
  const std::string path = scratch / "Language.ini";
};

TEST_F(LanguageFileTest, SectionChoice) {
  const std::string file =
      "[Language=804]\r\nInstallDesc=zh\r\n"
      "[Language=404,c04,1404]\r\nInstallDesc=tw\r\n"
      "[Language=409]\r\nInstallDesc=en\r\n"
      "[Language=411, 412]\r\nInstallDesc=ja\r\n"
      "[Language=0813]\r\nInstallDesc=nl\r\n";
  struct Case {
    std::uint32_t locale;
    const char* code;
    const char* text;
  } cases[] = {
      {0x804, "804", "zh"},
      {0xC04, "C04", "tw"},
      {0x1404, "1404", "tw"},
      {0x404, "404", "tw"},
      {0x409, "409", "en"},
      // An unlisted locale takes the first section under the code 409, whatever its header.
      {0x419, "409", "zh"},
      {0x411, "411", "ja"},
      // No trimming: " 412" is not "412"; "0813" is not "813".
      {0x412, "409", "zh"},
      {0x813, "409", "zh"},
  };
  for (const auto& c : cases) {
    const LanguageTable table = LoadText(file, c.locale);
    EXPECT_EQ(table.LanguageCode(), c.code) << std::hex << c.locale;
    EXPECT_EQ(table.GetText(0), c.text) << std::hex << c.locale;
  }
}

TEST_F(LanguageFileTest, TextLinesKeepEverything) {
  const LanguageTable table = LoadText(
      "[Language=409]\r\n"
      "InstallDesc= Setup \r\n"
      "ExitInstallMessage=a=b\r\n"
      "\r\n"
      "no equals sign\r\n"
      " CancelInstall=leading space in the key\r\n"
      "CancelButtonDesc=first\r\n"
      "CancelButtonDesc=second\r\n"
      "sureDesc=wrong case\r\n"
      "MessageDesc=\r\n"
      "InsertMediaDesc=ends in a lone CR\r\r\n"
      "[Language=804]\r\n"
      "SureDesc=other section\r\n",
      0x409);
  EXPECT_EQ(table.GetText(0), " Setup ");
  EXPECT_EQ(table.GetText(18), "a=b");
  EXPECT_EQ(table.GetText(5), "");  // " CancelInstall" is another key
  EXPECT_EQ(table.GetText(15), "first");
  EXPECT_EQ(table.GetText(6), "");  // keys are case-sensitive, and the next section is not read
  EXPECT_EQ(table.GetText(62), "");
  EXPECT_EQ(table.GetText(7), "ends in a lone CR\r");
  EXPECT_EQ(table.GetText(35), "");
  EXPECT_EQ(table.Lines().size(), 10u);
}

TEST_F(LanguageFileTest, DoubleByteTextsAreKeptAsBytes) {
  // A Big5 text with a backslash trail byte and a "=" after the first one.
  const std::string text = "\xA6\xA8\xA5\x5C=\xB3\x5C";
  const LanguageTable table =
      LoadText("[Language=404]\r\nShowFinishDesc=" + text + "\r\n", 0x404, 950);
  EXPECT_EQ(table.GetText(60), text);
}

TEST_F(LanguageFileTest, MissingOrEmptyFileGivesNoTexts) {
  LanguageTable table(0x804, 936);
  table.Load(scratch / "missing.ini", scratch.Files());
  EXPECT_EQ(table.LanguageCode(), "409");
  EXPECT_TRUE(table.Lines().empty());
  EXPECT_EQ(table.GetText(0), "");

  const LanguageTable empty = LoadText("", 0x804);
  EXPECT_EQ(empty.LanguageCode(), "409");
  EXPECT_TRUE(empty.Lines().empty());
}

TEST_F(LanguageFileTest, SetTextAndSaveSection) {
  LanguageTable table = LoadText(
      "[Language=409]\r\nInstallDesc= Setup\r\n\r\nProjectName= Project Name \r\n"
      "ProjectName=second\r\n"
      "[Language=804]\r\nProjectName=zh\r\n",
      0x409);
  table.SetText(19, "Tool 1.2");
  EXPECT_EQ(table.GetText(19), "Tool 1.2");
  // A key the section lacks, and the unused index, change nothing.
  table.SetText(20, "x");
  table.SetText(35, "x");
  EXPECT_EQ(table.GetText(20), "");

  const std::string saved = scratch / "409.ini";
  ASSERT_TRUE(table.SaveSection(saved, scratch.Files()));
  EXPECT_EQ(platform::ReadWholeFile(scratch.Files(), saved),
            "InstallDesc= Setup\r\n\r\nProjectName=Tool 1.2\r\nProjectName=second\r\n");

  // Saving replaces an existing, longer file.
  LanguageTable shorter = LoadText("[Language=409]\r\nMessageDesc=m\r\n", 0x409);
  ASSERT_TRUE(shorter.SaveSection(saved, scratch.Files()));
  EXPECT_EQ(platform::ReadWholeFile(scratch.Files(), saved), "MessageDesc=m\r\n");

  // A file that cannot be created is skipped.
  EXPECT_FALSE(shorter.SaveSection(scratch / "no\\such\\folder.ini", scratch.Files()));
}

TEST_F(LanguageFileTest, ChosenChineseSectionRoundTripsByteForByte) {
  auto files = HostFiles();
  LanguageTable table(0x804, 936);
  table.Load(kStandardFile, *files);
  ASSERT_FALSE(table.Lines().empty());
  const std::string saved = scratch / "804.ini";
  ASSERT_TRUE(table.SaveSection(saved, scratch.Files()));
  const auto original = platform::ReadWholeFile(*files, kStandardFile);
  ASSERT_TRUE(original);
  const std::size_t begin = original->find("[Language=804]\r\n") + 16;
  const std::size_t end = original->find("\r\n[Language=", begin) + 2;
  EXPECT_EQ(platform::ReadWholeFile(scratch.Files(), saved), original->substr(begin, end - begin));
}

}  // namespace
}  // namespace tarn::project
