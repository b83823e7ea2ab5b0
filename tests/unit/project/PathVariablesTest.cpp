#include "project/PathVariables.h"

#include <gtest/gtest.h>

#include "package/PackageEntry.h"
#include "support/FakeRegistry.h"
#include "support/FakeSystemFacts.h"
#include "text/ByteText.h"

namespace tarn::project {
namespace {

using platform::RootKey;

constexpr const char* kShellFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kCommonPrograms =
    "C:\\Documents and Settings\\All Users\\Start Menu\\Programs";

class PathVariablesTest : public ::testing::Test {
 protected:
  PathVariablesTest() {
    registry.PutString(RootKey::LocalMachine, kShellFolders, "Common Programs", kCommonPrograms);
    registry.PutString(RootKey::LocalMachine, kShellFolders, "Common Startup",
                       std::string(kCommonPrograms) + "\\Startup");
  }

  std::string Expand(const std::string& path) { return ExpandPath(path, context); }
  std::string ExpandAll(const std::string& text) { return ExpandAllPaths(text, context); }

  std::string installDir = "D:\\Apps\\Tool";
  test::FakeSystemFacts system;
  test::FakeRegistry registry;
  PathContext context{installDir, system, registry};
};

TEST(PathVariableNames, TokensAndTheirLookup) {
  const char* tokens[] = {"[Program Files]",    "[InstallDir]",        "[Windows Directory]",
                          "[System Directory]", "[Desktop Directory]", "[Absolute Directory]",
                          "[TempFileDir]",      "[Start Menu]",        "[Startup]",
                          "[QuickLaunch]"};
  for (std::int32_t i = 0; i < 10; ++i) {
    EXPECT_EQ(PathVariableToken(i), tokens[i]);
    EXPECT_EQ(PathVariableIndexOf(tokens[i]), i);
    EXPECT_EQ(PathVariableIndexOf(text::AsciiUpper(tokens[i])), i);
  }
  EXPECT_EQ(PathVariableToken(10), "[]");
  EXPECT_EQ(PathVariableToken(-1), "[]");
  struct Case {
    const char* token;
    std::int32_t index;
  } cases[] = {{"[installdir]", 1},
               {"[Fonts]", 10},
               {"[InstallDir", 10},
               {"InstallDir", 10},
               {"[InstallDir] ", 10},
               {"[]", 10},
               {"", 10},
               {"[startup]", 8}};
  for (const auto& c : cases) EXPECT_EQ(PathVariableIndexOf(c.token), c.index) << c.token;
}

TEST_F(PathVariablesTest, EachTokenResolvesOnTheSystem) {
  system.windowsDirectory = "E:\\WINNT";
  system.systemDirectory = "E:\\WINNT\\system32";
  system.tempPath = "C:\\TEMP\\";
  system.desktopDirectory = "C:\\Users\\ann\\Desktop";
  struct Case {
    const char* path;
    const char* expected;
  } cases[] = {
      // The program files folder follows the Windows folder's drive, whatever the registry says.
      {"[Program Files]\\App", "E:\\Program Files\\App"},
      {"[InstallDir]\\x", "D:\\Apps\\Tool\\x"},
      {"[installdir]\\x", "D:\\Apps\\Tool\\x"},
      {"[INSTALLDIR]", "D:\\Apps\\Tool"},
      {"[Windows Directory]\\Fonts", "E:\\WINNT\\Fonts"},
      {"[System Directory]\\a.dll", "E:\\WINNT\\system32\\a.dll"},
      {"[Desktop Directory]\\a.lnk", "C:\\Users\\ann\\Desktop\\a.lnk"},
      {"[Absolute Directory]C:\\Data", "C:\\Data"},
      {"[Absolute Directory]\\x", "\\x"},
      {"[TempFileDir]\\~a.ini", "C:\\TEMP\\~a.ini"},
      {"[Start Menu]\\Tool", "C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Tool"},
      // Texts that are not expanded.
      {"[QuickLaunch]\\a.lnk", "[QuickLaunch]\\a.lnk"},
      {"[Fonts]\\a.ttf", "[Fonts]\\a.ttf"},
      {"C:\\x\\[InstallDir]", "C:\\x\\[InstallDir]"},
      {" [InstallDir]", " [InstallDir]"},
      {"[InstallDir", "[InstallDir"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Expand(c.path), c.expected) << c.path;
}

TEST_F(PathVariablesTest, InstallDirAtADriveRoot) {
  struct Case {
    const char* installDir;
    const char* path;
    const char* expected;
  } cases[] = {
      {"D:\\", "[InstallDir]", "D:\\"},
      {"D:\\", "[InstallDir]\\app", "D:\\app"},
      {"D:\\Apps", "[InstallDir]", "D:\\Apps"},
      {"D:\\Apps", "[InstallDir]\\a", "D:\\Apps\\a"},
      // Results shorter than a drive root get a backslash.
      {"", "[InstallDir]", "\\"},
      {"", "[InstallDir]\\a", "\\a\\"},
  };
  for (const auto& c : cases) {
    installDir = c.installDir;
    EXPECT_EQ(Expand(c.path), c.expected) << c.installDir << " " << c.path;
  }
}

TEST_F(PathVariablesTest, StartupLiesInsideTheStartMenuFolder) {
  // The registry's own startup folder is elsewhere; only its name is used.
  registry.PutString(RootKey::LocalMachine, kShellFolders, "Common Startup",
                     "C:\\Elsewhere\\Autostart");
  EXPECT_EQ(Expand("[Startup]\\a.lnk"), std::string(kCommonPrograms) + "\\Autostart\\a.lnk");
  // A value without a backslash is a name as it stands.
  registry.PutString(RootKey::LocalMachine, kShellFolders, "Common Startup", "Boot");
  EXPECT_EQ(Expand("[Startup]"), std::string(kCommonPrograms) + "\\Boot");
}

TEST_F(PathVariablesTest, Windows98AndMeKeepTheStartMenuInTheWindowsFolder) {
  system.windowsDirectory = "C:\\WINDOWS";
  for (std::uint32_t minor : {10u, 90u}) {
    system.Windows9x(4, minor);
    EXPECT_EQ(Expand("[Start Menu]\\Tool"), "C:\\WINDOWS\\Start Menu\\Programs\\Tool");
    EXPECT_EQ(Expand("[Startup]\\a.lnk"), "C:\\WINDOWS\\Start Menu\\Programs\\Startup\\a.lnk");
  }
  // Windows 95 reads the registry like the NT family.
  system.Windows9x(4, 0);
  EXPECT_EQ(Expand("[Start Menu]"), kCommonPrograms);
}

TEST_F(PathVariablesTest, BigFivePathsSplitOnlyAtWholeBackslashes) {
  system.ansiCodePage = text::kCodePageBig5;
  // 0xB3 0x5C and 0xA5 0x5C are Big5 characters whose trail byte is a backslash.
  const std::string startupName = "\xB1\xD2\xB0\xCA\xB3\x5C";
  registry.PutString(RootKey::LocalMachine, kShellFolders, "Common Startup",
                     std::string(kCommonPrograms) + "\\" + startupName);
  EXPECT_EQ(Expand("[Startup]\\a.lnk"),
            std::string(kCommonPrograms) + "\\" + startupName + "\\a.lnk");
  // A temporary folder whose last character ends in a backslash byte keeps that character.
  system.tempPath = "C:\\\xA5\x5C";
  EXPECT_EQ(Expand("[TempFileDir]\\x"), "C:\\\xA5\x5C\\x");
  // A "]" trail byte inside a bracketed text does not end the token.
  EXPECT_EQ(Expand("[\xA5]InstallDir]"), "[\xA5]InstallDir]");
}

TEST_F(PathVariablesTest, MissingSystemValuesGiveEmptyFolders) {
  test::FakeRegistry empty;
  PathContext bare{installDir, system, empty};
  system.windowsDirectory = "";
  EXPECT_EQ(ExpandPath("[Start Menu]\\Tool", bare), "\\Tool");
  EXPECT_EQ(ExpandPath("[Windows Directory]\\x", bare), "\\x");
  EXPECT_EQ(ExpandPath("[Program Files]\\x", bare), "C:\\Program Files\\x");
  // The desktop is the exception: when the shell cannot name it the path stays unexpanded.
  system.desktopDirectory.reset();
  EXPECT_EQ(ExpandPath("[Desktop Directory]\\a.lnk", bare), "[Desktop Directory]\\a.lnk");
}

TEST_F(PathVariablesTest, LongPathsAreExpandedWhole) {
  const std::string tail = "\\" + std::string(3000, 'n');
  installDir = "C:\\" + std::string(600, 'd');
  EXPECT_EQ(Expand("[InstallDir]" + tail), installDir + tail);
  EXPECT_EQ(ExpandAll("x[InstallDir]" + tail), "x" + installDir + tail);
}

TEST_F(PathVariablesTest, ExpandAllPathsExpandsTokensAnywhere) {
  installDir = "D:\\App";
  system.windowsDirectory = "C:\\WIN";
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"a[b]c[InstallDir]", "a[b]cD:\\App"},
      {"C:\\x\\[InstallDir]", "C:\\x\\D:\\App"},
      {"[InstallDir]\\a;[Windows Directory]\\b", "D:\\App\\a;C:\\WIN\\b"},
      {"\"[InstallDir]\\a.exe\" %1", "\"D:\\App\\a.exe\" %1"},
      {"[QuickLaunch]x[installdir]", "[QuickLaunch]xD:\\App"},
      {"no tokens", "no tokens"},
      {"[[InstallDir]", "[D:\\App"},
      {"end[", "end["},
      {"[unclosed [InstallDir]", "[unclosed D:\\App"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandAll(c.text), c.expected) << c.text;
}

TEST_F(PathVariablesTest, ExpandedTextIsScannedAgain) {
  // A token inside an expansion's result is expanded in turn; one at the very front of the
  // result counts as an unexpanded token and stays.
  system.windowsDirectory = "C:\\WIN";
  installDir = "D:\\[Windows Directory]";
  EXPECT_EQ(ExpandAll("x[InstallDir]"), "xD:\\C:\\WIN");
  installDir = "[Windows Directory]";
  EXPECT_EQ(ExpandAll("x[InstallDir]"), "x[Windows Directory]");
}

TEST_F(PathVariablesTest, ExpanderBindsTheContextForTheEntryParser) {
  installDir = "D:\\";
  const package::PathExpander expand = MakePathExpander(context);
  EXPECT_EQ(expand("[InstallDir]\\a.txt"), "D:\\a.txt");
  // The bound expander sees later changes of the session's folder.
  installDir = "E:\\Other";
  const auto entry =
      package::PackageEntry::Parse("[InstallDir]\\a,b.txt,1000,20,A,2005-1-2 3:4:5", expand);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->ExpandedTarget(), "E:\\Other\\a,b.txt");
}

}  // namespace
}  // namespace tarn::project
