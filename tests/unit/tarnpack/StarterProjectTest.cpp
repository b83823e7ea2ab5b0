#include "tarnpack/StarterProject.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "support/LzmaStreams.h"
#include "support/ScratchFolder.h"
#include "tarnpack/PackageBuilder.h"
#include "tarnpack/PackageReport.h"
#include "tarnpack/ProjectCheck.h"

namespace tarnpack {
namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class StarterFixture : public testing::Test {
 protected:
  StarterFixture() {
    dir.MakeFolder("product\\tools");
    dir.MakeFolder("product\\data\\empty");
    dir.WriteFile("product\\App.exe", tarn::test::NoiseBytes(3000, 3));
    dir.WriteFile("product\\tools\\Helper.exe", tarn::test::NoiseBytes(9000, 4));
    dir.WriteFile("product\\License.txt", "You may use this.\r\n");
    dir.WriteFile("product\\data\\x.dat", "data");
    options.folder = dir.HostPath("product");
    options.name = "Tiny App";
    options.version = "2.0";
    options.company = "Tiny Co";
    options.projectPath = dir.HostPath("project.xml");
  }

  tarn::test::ScratchFolder dir;
  StarterOptions options;
  std::vector<std::string> notes;
  std::string error;
};

TEST_F(StarterFixture, GivesAProjectThatBuildsAndVerifies) {
  ASSERT_TRUE(WriteStarterProject(options, notes, error)) << error;
  const std::string project = Read(options.projectPath);
  EXPECT_TRUE(CheckProject(project, dir.HostPath("")).empty());
  EXPECT_EQ(Read(dir.HostPath("Language.ini")), Read(TARN_SAMPLE_DIR "/Language.ini"));
  for (const char* line :
       {"<ProjectName>Tiny App</ProjectName>",
        "<InstallPath>[Program Files]\\Tiny App</InstallPath>",
        "<Task ID=\"2003\" Type=\"ShowDialogBox\" IsExec=\"1\">", "<File>App.exe</File>",
        "<CreateUnInstall1>1</CreateUnInstall1>", "<CreateUnInstall2>1</CreateUnInstall2>",
        "<File>[TempFileDir]\\~TarnInstall-SoftDoc.HTM,product\\License.txt,K</File>",
        "<File>[InstallDir],product,A</File>"})
    EXPECT_NE(project.find(std::string(line) + "\r\n"), std::string::npos) << line;

  dir.WriteFile("TarnSetup.exe", tarn::test::NoiseBytes(5000, 1));
  dir.WriteFile("Tarn-UnInstall.exe", "uninstaller");
  BuildOptions build;
  build.stubPath = dir.HostPath("TarnSetup.exe");
  build.projectPath = options.projectPath;
  build.outputPath = dir.HostPath("Setup.exe");
  BuildResult result;
  ASSERT_TRUE(BuildPackage(build, result, error)) << error;
  EXPECT_EQ(result.files, 7u);  // language, licence, four product files, uninstaller

  ReportOptions report;
  report.setupPath = build.outputPath;
  std::ostringstream verified, listed;
  EXPECT_EQ(VerifyPackage(report, verified, error), 0) << verified.str();
  ASSERT_TRUE(ListPackage(report, listed, error)) << error;
  for (const char* target :
       {"[InstallDir]\\App.exe", "[InstallDir]\\License.txt", "[InstallDir]\\data\\x.dat",
        "[InstallDir]\\tools\\Helper.exe", "[Windows Directory]\\Tarn-UnInstall.exe"})
    EXPECT_NE(listed.str().find(std::string(target) + "\n"), std::string::npos) << target;
}

TEST_F(StarterFixture, RefusesWhatWouldGoWrong) {
  const struct {
    const char* what;
    std::string StarterOptions::*field;
    std::string value;
    const char* message;
  } cases[] = {
      {"a name that is no folder name", &StarterOptions::name, "A/B", "the name must be"},
      {"no version", &StarterOptions::version, "", "the version must be"},
      {"a company with a tag", &StarterOptions::company, "<b>Co", "the company cannot"},
      {"no such folder", &StarterOptions::folder, "missing", "is not a folder"},
      {"the project inside the product", &StarterOptions::projectPath, "", "outside the product"},
      {"a project that exists", &StarterOptions::projectPath, "", "exists already"},
  };
  dir.WriteFile("taken.xml", "mine");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StarterOptions o = options;
    o.*c.field = c.value;
    if (std::string(c.message) == "outside the product")
      o.projectPath = dir.HostPath("product\\p.xml");
    if (std::string(c.message) == "exists already") o.projectPath = dir.HostPath("taken.xml");
    if (c.field == &StarterOptions::folder) o.folder = dir.HostPath(c.value);
    error.clear();
    EXPECT_FALSE(WriteStarterProject(o, notes, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
  EXPECT_EQ(Read(dir.HostPath("taken.xml")), "mine");
  EXPECT_FALSE(dir.Exists("product\\p.xml"));
  EXPECT_FALSE(dir.Exists("Language.ini"));
}

}  // namespace
}  // namespace tarnpack
