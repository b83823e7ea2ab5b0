// The finish page's check boxes, their layout, and what Finish does with them, on a session
// built from fakes.
#include "pages/FinishActions.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "platform/ForwardingFileSystem.h"
#include "project/TaskIds.h"
#include "support/FakeClock.h"
#include "support/FakeRegistry.h"
#include "support/FakeSystemFacts.h"
#include "support/ProjectTasks.h"
#include "support/RecordingShell.h"
#include "support/ScratchFolder.h"

namespace tarn::pages {

using engine::Platform;
using engine::SetupSession;
namespace {

using platform::RootKey;
using project::FieldName;
using project::SubTask;
using project::SubTaskType;

using test::MakeSubTask;
using test::MakeTask;

// Writes the current-folder changes and deletions into the shell's log, so that a test sees
// them in order with the programs started.
class LoggingFileSystem : public platform::ForwardingFileSystem {
 public:
  LoggingFileSystem(platform::FileSystem& inner, test::RecordingShell& log)
      : ForwardingFileSystem(&inner), log_(log) {}
  bool ChangeCurrentDirectory(const std::string& path) override {
    log_.calls.push_back({"chdir", path, {}, 0, {}});
    return ForwardingFileSystem::ChangeCurrentDirectory(path);
  }
  bool RemoveFile(const std::string& path) override {
    log_.calls.push_back({"remove", path, {}, 0, {}});
    return ForwardingFileSystem::RemoveFile(path);
  }

 private:
  test::RecordingShell& log_;
};

class FinishActionsTest : public testing::Test {
 protected:
  FinishActionsTest() : files(dir.Files(), shell) {
    dir.WriteFile("lang.ini", "[Language=409]\r\nShowFinishDesc1=Restart now\r\n");
  }

  // A completed installation's session; Task 2404 holds `shortcuts` after a subtask of
  // another type.
  std::unique_ptr<SetupSession> MakeSession(const std::vector<SubTask>& shortcuts) {
    auto s = std::make_unique<SetupSession>(Platform{files, registry, system, clock, shell});
    s->Language.Load(dir.Path("lang.ini"), dir.Files());
    s->InstallDir = "C:\\Program Files\\Demo";
    s->ProgramFolderPath = "C:\\Menu\\Demo\\";
    s->InstallRunning = true;
    s->Project.AddTask(
        MakeTask(project::task::Properties, {MakeSubTask("10001", SubTaskType::GetAllVar,
                                                         {{FieldName::CompanyDesc, "Acme"},
                                                          {FieldName::ProjectName, "Demo"},
                                                          {FieldName::ProductVersion, "1.5"}})}));
    std::vector<SubTask> subs = {
        MakeSubTask("10001", SubTaskType::GetValue, {{FieldName::Description, "Demo"}})};
    subs.insert(subs.end(), shortcuts.begin(), shortcuts.end());
    s->Project.AddTask(MakeTask(project::task::Shortcuts, subs));
    return s;
  }

  // An optional shortcut to the desktop and the program group.
  static SubTask OfferedShortcut(const std::string& id, const std::string& name) {
    return MakeSubTask(id, SubTaskType::CreateShortcutMenu,
                       {{FieldName::Description, name},
                        {FieldName::File, name + ".exe"},
                        {FieldName::Folder, "[InstallDir]"},
                        {FieldName::IsToFileLinkGroup, "1"},
                        {FieldName::IsToDesktop, "1"},
                        {FieldName::IsSpecExec, "1"},
                        {FieldName::SpecExecDesc, "Add " + name}});
  }

  static SubTask Program(const std::string& id, const std::string& file, const std::string& folder,
                         const std::string& parameter) {
    return MakeSubTask(id, SubTaskType::RunApp,
                       {{FieldName::Description, "Open " + file},
                        {FieldName::File, file},
                        {FieldName::Folder, folder},
                        {FieldName::AppParameter, parameter}});
  }

  std::vector<std::string> Log() const {
    std::vector<std::string> log;
    for (const auto& c : shell.calls) {
      std::string line = c.what + " " + c.path;
      if (c.what == "open") line += " [" + c.detail + "]";
      log.push_back(line);
    }
    return log;
  }

  test::ScratchFolder dir;
  test::RecordingShell shell;
  LoggingFileSystem files;
  test::FakeRegistry registry;
  test::FakeSystemFacts system;
  test::FakeClock clock;
};

TEST_F(FinishActionsTest, CheckBoxesFollowTheTaskAndTheOfferedShortcuts) {
  const std::vector<SubTask> offered = {
      OfferedShortcut("10002", "Tool"),
      // Not offered: the text comes before the flag, or the flag is 0.
      MakeSubTask("10003", SubTaskType::CreateShortcutMenu,
                  {{FieldName::SpecExecDesc, "Too early"}, {FieldName::IsSpecExec, "1"}}),
      MakeSubTask("10004", SubTaskType::CreateShortcutMenu,
                  {{FieldName::IsSpecExec, "0"}, {FieldName::SpecExecDesc, "Switched off"}}),
      // Any number but 0 sets the flag; a later 0 clears it again.
      MakeSubTask("10005", SubTaskType::CreateShortcutMenu,
                  {{FieldName::IsSpecExec, "2"},
                   {FieldName::SpecExecDesc, "Add Help"},
                   {FieldName::IsSpecExec, "0"},
                   {FieldName::SpecExecDesc, "Cleared"}}),
      // Another type is never offered.
      MakeSubTask("10006", SubTaskType::RunApp,
                  {{FieldName::IsSpecExec, "1"}, {FieldName::SpecExecDesc, "Wrong type"}}),
  };
  const std::vector<SubTask> programs = {
      Program("20001", "app.exe", "[InstallDir]", ""),
      MakeSubTask("20002", SubTaskType::RunApp,
                  {{FieldName::Description, "One"}, {FieldName::Description, "Two"}}),
      MakeSubTask("20003", SubTaskType::RunApp, {{FieldName::File, "silent.exe"}}),
      MakeSubTask("20004", SubTaskType::GetValue, {{FieldName::Description, "Not a program"}}),
      Program("20005", "readme.htm", "[InstallDir]", ""),
  };
  const std::vector<FinishCheckBox> shortcutBoxes = {{"Add Tool", 30006}, {"Add Help", 30015}};

  struct Case {
    const char* name;
    std::string_view taskId;
    std::vector<SubTask> taskSubTasks;
    std::vector<SubTask> shortcuts;
    std::vector<FinishCheckBox> expected;
  };
  const std::vector<Case> cases = {
      {"restart alone", project::task::FinishPage, {}, {}, {{"Restart now", 999}}},
      // The restart task's own subtasks offer nothing.
      {"restart with shortcuts",
       project::task::FinishPage,
       programs,
       offered,
       {{"Restart now", 999}, shortcutBoxes[0], shortcutBoxes[1]}},
      {"programs alone",
       project::task::FinishProgramsPage,
       programs,
       {},
       {{"Open app.exe", 20001}, {"Open readme.htm", 20005}}},
      {"programs with shortcuts",
       project::task::FinishProgramsPage,
       programs,
       offered,
       {{"Open app.exe", 20001}, {"Open readme.htm", 20005}, shortcutBoxes[0], shortcutBoxes[1]}},
      {"nothing to offer", project::task::FinishProgramsPage, {}, {}, {}},
  };
  for (const Case& c : cases) {
    const auto s = MakeSession(c.shortcuts);
    const std::vector<FinishCheckBox> boxes =
        FinishCheckBoxes(*s, MakeTask(c.taskId, c.taskSubTasks));
    ASSERT_EQ(boxes.size(), c.expected.size()) << c.name;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_EQ(boxes[i].text, c.expected[i].text) << c.name << " #" << i;
      EXPECT_EQ(boxes[i].id, c.expected[i].id) << c.name << " #" << i;
    }
  }
}

TEST(FinishLayout, CentresTheBlockByItsLongestTextAtEveryDensity) {
  const std::vector<FinishCheckBox> boxes = {{std::string(10, 'a'), 1}, {std::string(20, 'b'), 2}};
  struct Case {
    std::int32_t dpi;
    std::int32_t width;
    std::int32_t height;
    FinishLayoutMetrics metrics;
    std::vector<BoxRect> rects;
  };
  const std::vector<Case> cases = {
      // x = (width - 20 * charWidth - margin) / 2; each box 2 * (length * charWidth + margin).
      {72, 548, 250, {18, 6, 14, 4}, {{205, 107, 361, 121}, {205, 125, 481, 139}}},
      {96, 548, 250, {18, 6, 14, 4}, {{205, 107, 361, 121}, {205, 125, 481, 139}}},
      {120, 730, 306, {22, 8, 18, 4}, {{274, 131, 478, 149}, {274, 153, 638, 171}}},
      // 120-DPI figures times 1.2, truncated.
      {144, 876, 367, {26, 9, 21, 4}, {{335, 158, 567, 179}, {335, 183, 747, 204}}},
      {192, 1168, 490, {35, 12, 28, 6}, {{446, 211, 756, 239}, {446, 245, 996, 273}}},
  };
  for (const Case& c : cases) {
    const FinishLayoutMetrics m = FinishLayoutForDpi(c.dpi);
    EXPECT_EQ(m, c.metrics) << c.dpi;
    const std::vector<BoxRect> rects = LayoutFinishCheckBoxes(boxes, c.width, c.height, m);
    ASSERT_EQ(rects.size(), c.rects.size()) << c.dpi;
    for (std::size_t i = 0; i < rects.size(); ++i) EXPECT_EQ(rects[i], c.rects[i]) << c.dpi;
  }

  const FinishLayoutMetrics small = FinishLayoutForDpi(96);
  EXPECT_TRUE(LayoutFinishCheckBoxes({}, 548, 250, small).empty());
  // A block larger than the page starts at its corner instead of off the page.
  const std::vector<FinishCheckBox> wide(20, FinishCheckBox{std::string(100, 'w'), 5});
  const std::vector<BoxRect> rects = LayoutFinishCheckBoxes(wide, 548, 250, small);
  ASSERT_EQ(rects.size(), 20u);
  EXPECT_EQ(rects.front(), (BoxRect{0, 0, 1236, 14}));
  EXPECT_EQ(rects.back(), (BoxRect{0, 342, 1236, 356}));
}

TEST_F(FinishActionsTest, TickedRestartCleansUpFirstAndAsksForTheRestart) {
  for (const bool ticked : {true, false}) {
    SCOPED_TRACE(ticked);
    shell.calls.clear();
    dir.WriteFile("~temp.xml", "project");
    const auto s = MakeSession({OfferedShortcut("10002", "Tool")});
    s->TempFileList = {dir.Path("~temp.xml")};
    std::set<std::int32_t> asked;

    RunFinishActions(*s, MakeTask(project::task::FinishPage, {}), [&](std::int32_t id) {
      asked.insert(id);
      return ticked;
    });

    // Only the restart box counts on this page.
    EXPECT_EQ(asked, std::set<std::int32_t>{999});
    if (ticked) {
      EXPECT_EQ(Log(), (std::vector<std::string>{"remove " + dir.Path("~temp.xml"), "restart "}));
      EXPECT_FALSE(dir.Exists("~temp.xml"));
      EXPECT_TRUE(s->ExtractionOver);
    } else {
      EXPECT_TRUE(Log().empty());
      EXPECT_TRUE(dir.Exists("~temp.xml"));
      EXPECT_FALSE(s->ExtractionOver);
    }
    EXPECT_FALSE(registry.HasKey(RootKey::LocalMachine, "SOFTWARE\\TarnSoft"));
  }
}

TEST_F(FinishActionsTest, FinishMakesTickedShortcutsThenOpensTickedPrograms) {
  const auto s = MakeSession({OfferedShortcut("10002", "Tool"), OfferedShortcut("10003", "Off"),
                              OfferedShortcut("10004", "Help")});
  const project::Task task =
      MakeTask(project::task::FinishProgramsPage,
               {Program("20001", "app.exe", "[InstallDir]\\bin", "-x"),
                Program("20002", "readme.htm", "[InstallDir]", ""),
                Program("20003", "hTTp://example.org/get.exe", "[InstallDir]", ""),
                Program("20004", "unticked.exe", "[InstallDir]", ""),
                Program("20005", "notes.txt", "[InstallDir]\\doc", "-p"),
                Program("20006", "Tool.Exe", "C:\\Tools", ""),
                // Launched only at its parameter; what it lacks comes from the program before.
                MakeSubTask("20007", SubTaskType::RunApp,
                            {{FieldName::File, "again.exe"}, {FieldName::AppParameter, "-y"}}),
                MakeSubTask("20008", SubTaskType::RunApp,
                            {{FieldName::File, "never.exe"}, {FieldName::Folder, "C:\\X"}})});
  const std::set<std::int32_t> unticked = {30009, 20004};

  RunFinishActions(*s, task, [&](std::int32_t id) { return unticked.count(id) == 0; });

  const std::string dir1 = "C:\\Program Files\\Demo";
  const std::vector<std::string> expected = {
      "link C:\\Menu\\Demo\\Tool.Lnk",
      "link " + system.desktopDirectory.value() + "\\Tool.Lnk",
      "link C:\\Menu\\Demo\\Help.Lnk",
      "link " + system.desktopDirectory.value() + "\\Help.Lnk",
      "chdir " + dir1 + "\\bin",
      "start \"" + dir1 + "\\bin\\app.exe\" -x",
      "chdir " + dir1,
      "open " + dir1 + "\\readme.htm [|]",
      "chdir " + dir1,
      "open hTTp://example.org/get.exe [|]",
      "chdir " + dir1 + "\\doc",
      // The parameter becomes part of the name the shell is asked to open.
      "open " + dir1 + "\\doc\\notes.txt -p [|]",
      "chdir C:\\Tools",
      "start \"C:\\Tools\\Tool.Exe\"",
      "chdir C:\\Tools",
      "start \"C:\\Tools\\again.exe\" -y",
  };
  EXPECT_EQ(Log(), expected);
  for (const auto& c : shell.calls) {
    if (c.what == "start" || c.what == "open") {
      EXPECT_EQ(c.showCommand, platform::kShowShow);
    }
  }
  const std::string key = "SOFTWARE\\TarnSoft\\TarnInstall\\Acme\\Demo\\1.5";
  const auto link3 = registry.GetValue(RootKey::LocalMachine, key, "FileLink3");
  ASSERT_TRUE(link3);
  EXPECT_EQ(link3->data, system.desktopDirectory.value() + "\\Help.Lnk" + '\0');
  const auto count = registry.GetValue(RootKey::LocalMachine, key, "FileLinkCount");
  ASSERT_TRUE(count);
  EXPECT_EQ(count->data, std::string("\x04\0\0\0", 4));
  EXPECT_EQ(registry.OpenHandles(), 0);
}

}  // namespace
}  // namespace tarn::pages
