// Loading a package, the start-up defaults and the clean-up, on a session built from fakes and
// a scratch folder.
#include <gtest/gtest.h>

#include "engine/actions/Cleanup.h"
#include "startup/PackageLoader.h"
#include "startup/StartupDefaults.h"
#include "support/FakeClock.h"
#include "support/FakeRegistry.h"
#include "support/FakeSystemFacts.h"
#include "support/ProjectDocument.h"
#include "support/RecordingShell.h"
#include "support/ScratchFolder.h"
#include "support/TestPackage.h"

namespace tarn::startup {

using engine::Platform;
using engine::RunCleanup;
using engine::SetupSession;
namespace {

using platform::RootKey;

using Stream = test::PackageStream;

std::string Document(const std::string& settings, const std::string& fileLines) {
  return test::ProjectDocument(
      "<ProjectName>Demo</ProjectName>\r\n<ProductVersion>1.5</ProductVersion>\r\n"
      "<CompanyDesc>Acme Tests</CompanyDesc>\r\n"
      "<InstallPath>[Program Files]\\Demo</InstallPath>\r\n" +
          settings,
      "<Folder>[InstallDir]</Folder>\r\n", fileLines,
      "<Task ID=\"2404\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
      "<SubTask ID=\"10001\" Type=\"GetValue\">\r\n<Description>Demo Programs</Description>\r\n"
      "</SubTask>\r\n</Task>\r\n");
}

const std::string kLanguage =
    "[Language=409]\r\nLoadingInstallFiles=Loading files...\r\nProjectName= Project Name \r\n";

class StartupTest : public testing::Test {
 protected:
  StartupTest() {
    dir.MakeFolder("temp");
    dir.MakeFolder("setup");
    dir.MakeFolder("WINDOWS");
    system.tempPath = dir.Path("temp") + "\\";
    system.modulePath = dir.Path("setup\\Setup.exe");
    system.windowsDirectory = dir.Path("WINDOWS");
    system.userAppDataDirectory = dir.Path("ann");
  }

  // Writes Setup.exe: a stand-in stub, the streams, the compressed project, the trailer.
  void WritePackage(const std::vector<Stream>& streams,
                    const std::string& settings = "<DiskSize>650000000</DiskSize>\r\n") {
    dir.WriteFile("setup\\Setup.exe", test::PackageImage(streams, [&](const std::string& lines) {
                    return Document(settings, lines);
                  }));
  }

  std::vector<Stream> StandardStreams() {
    return {{"[TempFileDir]\\~TarnInstall-Language.ini", "K", kLanguage},
            {"[TempFileDir]\\~TarnInstall-AdPicture.bmp", "K", "BM picture"},
            {"[InstallDir]\\app.exe", "A", "program"},
            {"[TempFileDir]\\late.txt", "K", "after an application file"}};
  }

  std::vector<std::string> TempFiles() {
    std::vector<std::string> names;
    const auto entries = dir.Files().Enumerate(dir.Path("temp\\*.*"));
    for (const auto& e : entries.value()) {
      if (e.name != "." && e.name != "..") names.push_back(e.name);
    }
    return names;
  }

  test::ScratchFolder dir;
  test::FakeRegistry registry;
  test::FakeSystemFacts system;
  test::FakeClock clock;
  test::RecordingShell shell;
  SetupSession session{Platform{dir.Files(), registry, system, clock, shell}};
};

TEST_F(StartupTest, LoadsProjectLanguageAndInstallerFiles) {
  WritePackage(StandardStreams());
  ASSERT_TRUE(LoadPackage(session));
  EXPECT_EQ(session.RunStamp, "200501232020580");
  EXPECT_EQ(session.ProjectCopyPath, dir.Path("temp\\TarnInstall200501232020580.xml"));
  EXPECT_EQ(session.Project.ProjectName(), "Demo");
  EXPECT_EQ(session.Reader.Capacity(), 650000000);
  EXPECT_EQ(session.LanguageFilePath, dir.Path("temp\\200501232020580~TarnInstall-Language.ini"));
  EXPECT_EQ(session.Language.GetText(1), "Loading files...");
  EXPECT_EQ(session.Language.GetText(19), "Demo 1.5");
  // Only the leading installer files are listed at load; folders come with the rebuild.
  EXPECT_EQ(session.FileList.size(), 2u);
  EXPECT_TRUE(session.FolderList.empty());

  ASSERT_TRUE(ExtractInstallerFiles(session));
  std::string picture;
  ASSERT_TRUE(dir.ReadFile("temp\\200501232020580~TarnInstall-AdPicture.bmp", picture));
  EXPECT_EQ(picture, "BM picture");
  EXPECT_FALSE(dir.Exists("temp\\200501232020580late.txt"));
  EXPECT_EQ(session.TempFileList.size(), 3u);
  EXPECT_EQ(TempFiles().size(), 3u);
  EXPECT_EQ(AdPicturePath(session), dir.Path("temp\\200501232020580~TarnInstall-AdPicture.bmp"));

  // The shared application data folder of this system is unknown: the user's own is used.
  EXPECT_EQ(session.QuickLaunchDir1,
            dir.Path("ann") + "\\Microsoft\\Internet Explorer\\Quick Launch\\");
  EXPECT_TRUE(
      registry.HasKey(RootKey::LocalMachine,
                      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"));

  session.InstallRunning = true;
  RunCleanup(session);
  EXPECT_TRUE(TempFiles().empty());
  EXPECT_TRUE(session.ExtractionOver);
}

TEST_F(StartupTest, BrokenPackagesFailAndLeaveNoTemporaryFile) {
  const std::string longTarget = "[TempFileDir]\\" + std::string(4100, 'x');
  struct Case {
    const char* what;
    std::vector<Stream> streams;
    std::string settings;
  } cases[] = {
      {"volume capacity zero", StandardStreams(), "<DiskSize>0</DiskSize>\r\n"},
      {"volume capacity not a number", StandardStreams(), "<DiskSize>big</DiskSize>\r\n"},
      {"no volume capacity", StandardStreams(), ""},
      {"empty file list", {}, "<DiskSize>1000000</DiskSize>\r\n"},
      {"language file not an installer file",
       {{"[TempFileDir]\\~TarnInstall-Language.ini", "A", kLanguage}},
       "<DiskSize>1000000</DiskSize>\r\n"},
      {"entry line too long", {{longTarget, "K", kLanguage}}, "<DiskSize>1000000</DiskSize>\r\n"},
  };
  for (const auto& c : cases) {
    SetupSession fresh{Platform{dir.Files(), registry, system, clock, shell}};
    fresh.InstallRunning = true;
    WritePackage(c.streams, c.settings);
    EXPECT_FALSE(LoadPackage(fresh) && ExtractInstallerFiles(fresh)) << c.what;
    RunCleanup(fresh);
    EXPECT_TRUE(TempFiles().empty()) << c.what;
  }
}

TEST_F(StartupTest, FilesWithoutAWholePackageFail) {
  WritePackage(StandardStreams());
  std::string whole;
  ASSERT_TRUE(dir.ReadFile("setup\\Setup.exe", whole));
  const std::string variants[] = {
      "",                                                      // empty
      std::string(5000, 'M'),                                  // a program without a package
      whole.substr(0, whole.size() / 2),                       // cut in half: the trailer is gone
      whole.substr(0, 150) + whole.substr(whole.size() - 88),  // trailer kept, data gone
  };
  for (const auto& bytes : variants) {
    dir.WriteFile("setup\\Setup.exe", bytes);
    SetupSession fresh{Platform{dir.Files(), registry, system, clock, shell}};
    fresh.InstallRunning = true;
    EXPECT_FALSE(LoadPackage(fresh)) << bytes.size();
    RunCleanup(fresh);
    EXPECT_TRUE(TempFiles().empty()) << bytes.size();
  }
}

TEST_F(StartupTest, RememberedInstallationFolder) {
  const std::string companyKey = "SOFTWARE\\TarnSoft\\TarnInstall\\Acme Tests\\Demo";
  const std::string projectKey = "SOFTWARE\\TarnSoft\\TarnInstall\\Demo";
  struct Case {
    const char* what;
    std::string companyPath;  // "-": no key at all
    std::string projectPath;
    std::string installDir;
  } cases[] = {
      {"nothing remembered", "-", "-", "C:\\Program Files\\Demo"},
      {"company key wins", "D:\\Company", "D:\\Project", "D:\\Company"},
      {"project key when the first is empty", "", "D:\\Project", "D:\\Project"},
      {"project key when the first is missing", "-", "D:\\Project", "D:\\Project"},
  };
  WritePackage(StandardStreams());
  for (const auto& c : cases) {
    test::FakeRegistry fresh;
    if (c.companyPath != "-")
      fresh.PutString(RootKey::LocalMachine, companyKey, "Path", c.companyPath);
    if (c.projectPath != "-")
      fresh.PutString(RootKey::LocalMachine, projectKey, "Path", c.projectPath);
    SetupSession s{Platform{dir.Files(), fresh, system, clock, shell}};
    ASSERT_TRUE(LoadPackage(s));
    ApplyStartupDefaults(s);
    EXPECT_EQ(s.InstallDir, c.installDir) << c.what;
    EXPECT_EQ(s.ProgramFolderPath, "Demo Programs");
    EXPECT_EQ(s.CompanyText, "Acme Tests");
    // Reading the first key creates it.
    EXPECT_TRUE(fresh.HasKey(RootKey::LocalMachine, companyKey)) << c.what;
    EXPECT_EQ(fresh.OpenHandles(), 0) << c.what;
    s.InstallRunning = true;
    RunCleanup(s);
  }
}

TEST_F(StartupTest, RollBackKeepsSharedFilesAndRemovesEmptyCreatedFolders) {
  dir.MakeFolder("App\\sub");
  dir.MakeFolder("Parent\\Child");
  dir.WriteFile("WINDOWS\\Tarn-UnInstall.exe", "u");
  dir.WriteFile("App\\app.exe", "a");
  dir.WriteFile("App\\sub\\data.bin", "d");
  session.Project.InstalledFileList = {dir.Path("WINDOWS\\Tarn-UnInstall.exe"),
                                       dir.Path("App\\app.exe"), dir.Path("App\\sub\\data.bin")};
  // Listed child first: both go. Listed parent first: the parent is not empty on its turn.
  session.Project.CreatedFolderList = {dir.Path("App\\sub"), dir.Path("App"), dir.Path("Parent"),
                                       dir.Path("Parent\\Child")};
  session.InstallRunning = false;
  RunCleanup(session);
  EXPECT_TRUE(dir.Exists("WINDOWS\\Tarn-UnInstall.exe"));
  EXPECT_FALSE(dir.Exists("App\\app.exe"));
  EXPECT_FALSE(dir.Exists("App"));
  EXPECT_TRUE(dir.Exists("Parent"));
  EXPECT_FALSE(dir.Exists("Parent\\Child"));
  EXPECT_EQ(clock.pausedMilliseconds, 100u);
}

TEST_F(StartupTest, CompletedInstallationKeepsEverythingButTemporaryFiles) {
  dir.MakeFolder("App");
  dir.WriteFile("App\\app.exe", "a");
  session.Project.InstalledFileList = {dir.Path("App\\app.exe")};
  session.Project.CreatedFolderList = {dir.Path("App")};
  session.InstallRunning = true;
  RunCleanup(session);
  EXPECT_TRUE(dir.Exists("App\\app.exe"));
}

}  // namespace
}  // namespace tarn::startup
