// The removal plan of a record with every kind of file, every folder token and every shortcut
// location: what is removed, what is kept and why, and the order of the folders. ("[Program
// Files]" is always the real one, so the scene does not install there.)
#include "uninstall/RemovalPlan.h"

#include <gtest/gtest.h>

#include "support/ProductInstaller.h"
#include "uninstall/UninstallRecord.h"

namespace tarn::uninstall {
namespace {

using platform::RootKey;
using test::Files;
using test::Sub;
using test::Task;

std::string Link(const std::string& name, const std::string& flags) {
  const char* names[] = {"IsToFileLinkGroup", "IsToDesktop", "IsToStartup", "IsToQuickLaunch",
                         "IsSpecExec"};
  std::string lines = "<Description>" + name +
                      "</Description>\r\n<File>app.exe</File>\r\n"
                      "<Folder>[InstallDir]</Folder>\r\n";
  for (std::size_t i = 0; i < flags.size(); ++i)
    lines += std::string("<") + names[i] + ">" + flags[i] + "</" + names[i] + ">\r\n";
  return Sub(lines, "CreateShortcutMenu");
}

TEST(RemovalPlan, SaysWhatGoesAndWhatStays) {
  test::InstallScene t;
  t.system.userAppDataDirectory = t.dir.Path("Roaming");
  const test::Product product{
      "Demo",
      "1.5",
      "App",
      {{"[InstallDir]\\app.exe", "A", "a"},
       {"[InstallDir]\\data\\stored.bin", "N", "n"},
       {"[InstallDir]\\other.bin", "X", "unknown kind"},
       {"[InstallDir]\\once.exe", "L", "l"},
       {"[InstallDir]\\import.txt", "R", "REGEDIT4\r\n"},
       {"[Windows Directory]\\Tarn-UnInstall.exe", "U", "u"},
       {"[System Directory]\\shared.ocx", "A", "s"},
       {"[Desktop Directory]\\notes.txt", "A", "d"},
       {"[InstallDir]\\linked\\behind.txt", "A", "r"}},
      Task("2404", Link("Everywhere", "11110") + Link("Offered", "11001")) +
          Task("2405", Sub(Files({"[System Directory]\\shared.ocx", "[InstallDir]\\readme.txt",
                                  "[InstallDir]\\x.Ax"}))) +
          Task("2406",
               Sub(test::Registry("V", "1") + "<IsToDelete>1</IsToDelete>\r\n"
                                              "<RegRootKey>HKEY_LOCAL_MACHINE</RegRootKey>\r\n",
                   "Registry") +
                   Sub(test::Registry("W", "1") + "<IsToDelete>0</IsToDelete>\r\n", "Registry")) +
          Task("2410", Sub("<CreateUnInstall1>1</CreateUnInstall1>\r\n"
                           "<CreateUnInstall2>1</CreateUnInstall2>\r\n"))};
  ASSERT_EQ(test::InstallProduct(t, product), 0);
  // The finish page recorded one shortcut of the offered entry.
  const std::string versionKey = "SOFTWARE\\TarnSoft\\TarnInstall\\Acme\\Demo\\1.5";
  t.registry.PutString(RootKey::LocalMachine, versionKey, "FileLink0",
                       t.dir.Path("Desktop\\Offered.Lnk"));
  t.registry.PutValue(RootKey::LocalMachine, versionKey, "FileLinkCount",
                      platform::RegistryValueType::Dword, std::string("\1\0\0\0", 4));

  engine::SetupSession s{t.Services(t.files)};
  const std::string record = test::RecordOf(t, product);
  ASSERT_EQ(LoadRecord(s, record), RecordProblem::None);
  test::FakeRemovalServices services;
  services.reparsePoints.insert(text::AsciiUpper(t.dir.Path("App\\linked")));
  const RemovalPlan plan = PlanRemoval(s, services, record);

  EXPECT_EQ(plan.components, (std::vector<std::string>{t.dir.Path("WINDOWS\\system32\\shared.ocx"),
                                                       t.dir.Path("App\\x.Ax")}));
  const std::string group = t.dir.Path("Start Menu\\Programs\\Demo Programs\\");
  const std::string quick =
      t.dir.Path("Roaming") + "\\Microsoft\\Internet Explorer\\Quick Launch\\";
  std::vector<std::string> shortcuts;
  for (const auto& p : plan.shortcuts) {
    EXPECT_FALSE(p.shared);
    EXPECT_EQ(p.keptBecause, "");
    shortcuts.push_back(p.path);
  }
  EXPECT_EQ(shortcuts, (std::vector<std::string>{
                           group + "Everywhere.Lnk", t.dir.Path("Desktop\\Everywhere.Lnk"),
                           t.dir.Path("Start Menu\\Programs\\StartUp\\Everywhere.Lnk"),
                           quick + "Everywhere.Lnk", t.dir.Path("Desktop\\Offered.Lnk"),
                           group + "Remove Demo 1.5.lnk"}));

  const struct {
    std::string path;
    bool shared;
    const char* kept;
  } files[] = {
      {t.dir.Path("App\\app.exe"), false, ""},
      {t.dir.Path("App\\data\\stored.bin"), false, ""},
      {t.dir.Path("App\\other.bin"), false, ""},
      {t.dir.Path("WINDOWS\\system32\\shared.ocx"), true, ""},
      {t.dir.Path("Desktop\\notes.txt"), false, ""},
      {t.dir.Path("App\\linked\\behind.txt"), false, "it lies behind a reparse point"},
      {record, false, ""},
  };
  ASSERT_EQ(plan.files.size(), std::size(files));
  for (std::size_t i = 0; i < plan.files.size(); ++i) {
    SCOPED_TRACE(files[i].path);
    EXPECT_EQ(plan.files[i].path, files[i].path);
    EXPECT_EQ(plan.files[i].shared, files[i].shared);
    EXPECT_EQ(plan.files[i].keptBecause, files[i].kept);
  }
  EXPECT_EQ(plan.uninstaller, t.dir.Path("WINDOWS\\Tarn-UnInstall.exe"));
  // Deepest first; the Start Menu itself never.
  EXPECT_EQ(plan.folders,
            (std::vector<std::string>{t.dir.Path("Start Menu\\Programs\\Demo Programs"),
                                      t.dir.Path("App\\data"), t.dir.Path("App")}));
  ASSERT_EQ(plan.registry.size(), 1u);
  EXPECT_EQ(plan.registry[0].root, RootKey::LocalMachine);
  EXPECT_EQ(plan.registry[0].key, "\\Software\\Demo");
  EXPECT_EQ(plan.registry[0].value, "V");
  EXPECT_FALSE(plan.registry[0].keyOnly);
  EXPECT_TRUE(plan.outside.empty());
}

}  // namespace
}  // namespace tarn::uninstall
