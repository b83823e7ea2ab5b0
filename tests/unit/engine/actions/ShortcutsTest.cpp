// Shortcut files by location and the finish page's shortcuts, on a session built from fakes.
#include "engine/actions/Shortcuts.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <set>

#include "project/TaskIds.h"
#include "support/ShortcutScene.h"

namespace tarn::engine {
namespace {

using platform::RegistryValueType;
using platform::RootKey;
using project::FieldName;
using project::SubTask;
using project::SubTaskType;

class ShortcutsTest : public testing::Test, protected test::ShortcutScene {};

TEST_F(ShortcutsTest, CreateShortcutPlacesNamesAndRecordsEachLocation) {
  const std::string app = "C:\\Program Files\\Demo\\app.exe";
  struct Case {
    const char* what;
    std::int32_t location;
    bool alternate;
    std::string programFolder;
    std::string quickLaunch;  // both Quick Launch folders
    std::uint32_t codePage;
    std::string target;
    bool record;
    bool saves;
    std::string folder;  // "" when nothing may be written
    std::string workingFolder;
  } cases[] = {
      {"desktop", 4, false, kGroup, kQuick1, 1252, app, true, true, kDesktop,
       "C:\\Program Files\\Demo"},
      {"program group", 7, false, kGroup, kQuick1, 1252, app, true, true, kGroup,
       "C:\\Program Files\\Demo"},
      {"startup folder inside the start menu", 8, false, kGroup, kQuick1, 1252, app, true, true,
       kStartup, "C:\\Program Files\\Demo"},
      {"quick launch", 9, false, kGroup, kQuick2, 1252, app, true, true, kQuick2,
       "C:\\Program Files\\Demo"},
      {"quick launch, alternate folder", 9, true, kGroup, kQuick1, 1252, app, true, true, kQuick1,
       "C:\\Program Files\\Demo"},
      {"code 5 writes nothing", 5, false, kGroup, kQuick1, 1252, app, true, true, "", ""},
      {"code 6 writes nothing", 6, false, kGroup, kQuick1, 1252, app, true, true, "", ""},
      {"no program folder: no group shortcut", 7, false, "", kQuick1, 1252, app, true, true, "",
       ""},
      {"no program folder: desktop still", 4, false, "", kQuick1, 1252, app, true, true, kDesktop,
       "C:\\Program Files\\Demo"},
      {"unknown quick launch folder writes nothing", 9, true, kGroup, "", 1252, app, true, true, "",
       ""},
      {"program in a drive root keeps C:\\", 4, false, kGroup, kQuick1, 1252, "C:\\app.exe", true,
       true, kDesktop, "C:\\"},
      {"lower-case web address", 7, false, kGroup, kQuick1, 1252, "http://example.org/a\\b", true,
       true, kGroup, "C:\\"},
      {"no record asked", 4, false, kGroup, kQuick1, 1252, app, false, true, kDesktop,
       "C:\\Program Files\\Demo"},
      {"failed save is still listed and recorded", 8, false, kGroup, kQuick1, 1252, app, true,
       false, kStartup, "C:\\Program Files\\Demo"},
      {"trail byte is no folder separator", 4, false, kGroup, kQuick1, 950,
       "C:\\Program Files\\\xB3\x5C.exe", true, true, kDesktop, "C:\\Program Files"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    system.ansiCodePage = c.codePage;
    registry = test::FakeRegistry();
    AddShellFolders();
    shell.calls.clear();
    shell.succeed = c.saves;
    auto s = MakeSession({});
    s->ProgramFolderPath = c.programFolder;
    s->QuickLaunchDir1 = s->QuickLaunchDir2 = c.quickLaunch;
    RegistryKey holder(registry, s->CodePage, RootKey::CurrentUser);
    ASSERT_TRUE(holder.OpenPath("\\Software\\Links", true));
    const std::string arguments = c.location == 4 ? "-run" : "";
    const std::string icon = c.location == 8 ? "C:\\icons\\a.ico" : "";

    CreateShortcut(*s, "App", c.target, arguments, icon, c.location, c.alternate, c.record, 3,
                   &holder);

    holder.Close();
    const auto recorded = registry.GetValue(RootKey::CurrentUser, "Software\\Links", "FileLink3");
    if (c.folder.empty()) {
      EXPECT_TRUE(shell.calls.empty());
      EXPECT_TRUE(s->Project.InstalledFileList.empty());
      EXPECT_FALSE(recorded);
      continue;
    }
    const std::string linkPath = c.folder + "App.Lnk";
    ASSERT_EQ(shell.calls.size(), 1u);
    const auto& link = shell.calls[0].link;
    EXPECT_EQ(shell.calls[0].path, linkPath);
    EXPECT_EQ(link.target, c.target);
    EXPECT_EQ(link.workingDirectory, c.workingFolder);
    EXPECT_EQ(link.description, "App");
    EXPECT_EQ(link.arguments, arguments);
    EXPECT_EQ(link.iconFile, icon);
    EXPECT_EQ(link.iconIndex, 0);
    EXPECT_EQ(link.showCommand, platform::kShowShow);
    EXPECT_EQ(s->Project.InstalledFileList, std::vector<std::string>{linkPath});
    if (c.record) {
      ASSERT_TRUE(recorded);
      EXPECT_EQ(recorded->type, RegistryValueType::String);
      EXPECT_EQ(recorded->data, linkPath + '\0');
    } else {
      EXPECT_FALSE(recorded);
    }
  }
  EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST_F(ShortcutsTest, FinishPageNumbersEveryTickedShortcutAndCountsThem) {
  auto s = MakeSession({
      {"10002", "One", "one.exe", "gdx"},
      {"10003", "Unticked", "no.exe", "dx"},
      {"10004", "Quick", "quick.exe", "qx"},
      {"10005", "Worker's", "work.exe", "d"},  // ticked, but not offered on the finish page
      {"10006", "Two", "two.exe", "dgx"},
  });
  const std::set<std::int32_t> ticked = {30006, 30012, 30015, 30018};

  CreateFinishPageShortcuts(
      *s, [&](const SubTask& sub) { return ticked.count(FinishCheckBoxId(sub)) != 0; });

  const std::vector<std::string> expected = {kGroup + "One.Lnk",    kDesktop + "One.Lnk",
                                             kQuick2 + "Quick.Lnk", kQuick1 + "Quick.Lnk",
                                             kGroup + "Two.Lnk",    kDesktop + "Two.Lnk"};
  EXPECT_EQ(LinkPaths(), expected);
  EXPECT_EQ(s->Project.InstalledFileList, expected);
  const std::string key = "SOFTWARE\\TarnSoft\\TarnInstall\\Acme\\Demo\\1.5";
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto value =
        registry.GetValue(RootKey::LocalMachine, key, "FileLink" + std::to_string(i));
    ASSERT_TRUE(value) << i;
    EXPECT_EQ(value->data, expected[i] + '\0');
  }
  EXPECT_FALSE(registry.GetValue(RootKey::LocalMachine, key, "FileLink6"));
  const auto count = registry.GetValue(RootKey::LocalMachine, key, "FileLinkCount");
  ASSERT_TRUE(count);
  EXPECT_EQ(count->type, RegistryValueType::Dword);
  EXPECT_EQ(count->data, std::string("\x06\0\0\0", 4));
  EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST_F(ShortcutsTest, OneQuickLaunchFolderGetsOneNumberedCopyAndIsMadeWhenMissing) {
  auto s = MakeSession({{"10002", "Quick", "quick.exe", "qx"}, {"10003", "One", "one.exe", "gx"}});
  const std::string own = dir.Path("Roaming\\Microsoft\\Internet Explorer\\Quick Launch\\");
  s->QuickLaunchDir1 = own;
  s->QuickLaunchDir2.clear();

  CreateFinishPageShortcuts(*s, [](const SubTask&) { return true; });

  EXPECT_TRUE(dir.Files().IsDirectory(own.substr(0, own.size() - 1)));
  const std::vector<std::string> expected = {own + "Quick.Lnk", kGroup + "One.Lnk"};
  EXPECT_EQ(LinkPaths(), expected);
  const std::string key = "SOFTWARE\\TarnSoft\\TarnInstall\\Acme\\Demo\\1.5";
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto value =
        registry.GetValue(RootKey::LocalMachine, key, "FileLink" + std::to_string(i));
    ASSERT_TRUE(value) << i;
    EXPECT_EQ(value->data, expected[i] + '\0');
  }
  const auto count = registry.GetValue(RootKey::LocalMachine, key, "FileLinkCount");
  ASSERT_TRUE(count);
  EXPECT_EQ(count->data, std::string("\x02\0\0\0", 4));
}

}  // namespace
}  // namespace tarn::engine
