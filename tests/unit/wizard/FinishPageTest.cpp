#ifdef _WIN32
// The finish page with real windows: the check boxes it builds for a finish task, where they
// stand, and what Finish does with the ticks the user leaves.
#include "wizard/Finish.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "engine/session/SetupSession.h"
#include "project/TaskIds.h"
#include "support/FakeClock.h"
#include "support/FakeRegistry.h"
#include "support/FakeSystemFacts.h"
#include "support/ProjectTasks.h"
#include "support/RecordingShell.h"
#include "support/ScratchFolder.h"
#include "support/win32/HostWindow.h"

namespace tarn::wizard {
namespace {

using project::FieldName;
using project::SubTaskType;
using test::HostWindow;
using test::MakeSubTask;
using test::MakeTask;

std::string WindowText(HWND window) {
  char buffer[256] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

class FinishPageTest : public testing::Test {
 protected:
  FinishPageTest() {
    dir.WriteFile("lang.ini",
                  "[Language=409]\r\nProjectName=Demo\r\nShowFinishSubject=All done\r\n"
                  "ShowFinishDesc= is installed.\r\nShowFinishDesc1=Restart the computer now\r\n");
    session.Language.Load(dir.Path("lang.ini"), dir.Files());
    // A folder that does not exist: the launches must not move this process's current folder.
    session.InstallDir = "C:\\Program Files\\Tarn Finish Test";
    session.InstallRunning = true;
    session.Project.AddTask(
        MakeTask(project::task::Properties, {MakeSubTask("10001", SubTaskType::GetAllVar,
                                                         {{FieldName::CompanyDesc, "Acme"},
                                                          {FieldName::ProjectName, "Demo"},
                                                          {FieldName::ProductVersion, "1.0"}})}));
    session.Project.AddTask(MakeTask(
        project::task::Shortcuts, {MakeSubTask("10002", SubTaskType::CreateShortcutMenu,
                                               {{FieldName::Description, "Tool"},
                                                {FieldName::File, "tool.exe"},
                                                {FieldName::Folder, "[InstallDir]"},
                                                {FieldName::IsToDesktop, "1"},
                                                {FieldName::IsSpecExec, "1"},
                                                {FieldName::SpecExecDesc, "Add Tool shortcut"}})}));
  }

  HWND Box(int id) const { return GetDlgItem(page.Hwnd(), id); }

  // The page as the frame places it below the band at 96 DPI.
  void CreatePage() {
    ASSERT_TRUE(page.Create(host.Get()));
    SetWindowPos(page.Hwnd(), nullptr, 0, 64, 548, 250, SWP_NOZORDER);
  }

  test::ScratchFolder dir;
  test::FakeRegistry registry;
  test::FakeSystemFacts system;
  test::FakeClock clock;
  test::RecordingShell shell;
  engine::SetupSession session{{dir.Files(), registry, system, clock, shell}};
  HostWindow host;
  CFinish page{session};
};

TEST_F(FinishPageTest, ProgramsTaskOffersTickedCentredBoxesAndRunsWhatStaysTicked) {
  CreatePage();
  EXPECT_EQ(page.GetSubject(), "All done");
  EXPECT_EQ(page.GetDescription(), "Demo is installed.");
  const project::Task task = MakeTask(project::task::FinishProgramsPage,
                                      {MakeSubTask("20001", SubTaskType::RunApp,
                                                   {{FieldName::Description, "Open app.exe"},
                                                    {FieldName::File, "app.exe"},
                                                    {FieldName::Folder, "[InstallDir]"},
                                                    {FieldName::AppParameter, "-x"}}),
                                       MakeSubTask("20002", SubTaskType::RunApp,
                                                   {{FieldName::Description, "View readme"},
                                                    {FieldName::File, "readme.htm"},
                                                    {FieldName::Folder, "[InstallDir]"},
                                                    {FieldName::AppParameter, ""}})});
  page.SetFinishTask(&task);
  page.Show();
  EXPECT_EQ(page.GetFinishTask(), &task);

  struct Expected {
    int id;
    const char* text;
    RECT rect;
  };
  // Longest text 17 characters: x = (548 - 17 * 6 - 18) / 2; y = (250 - 3 * 18) / 2.
  const std::vector<Expected> expected = {{20001, "Open app.exe", {214, 98, 394, 112}},
                                          {20002, "View readme", {214, 116, 382, 130}},
                                          {30006, "Add Tool shortcut", {214, 134, 454, 148}}};
  const auto pageFont = SendMessageA(page.Hwnd(), WM_GETFONT, 0, 0);
  ASSERT_NE(pageFont, 0);
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.id);
    HWND box = Box(e.id);
    ASSERT_TRUE(box);
    EXPECT_EQ(WindowText(box), e.text);
    const LONG style = GetWindowLongA(box, GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_TRUE(page.IsChecked(e.id));
    EXPECT_EQ(SendMessageA(box, WM_GETFONT, 0, 0), pageFont);
    RECT r{};
    GetWindowRect(box, &r);
    MapWindowPoints(nullptr, page.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, e.rect.left);
    EXPECT_EQ(r.top, e.rect.top);
    EXPECT_EQ(r.right, e.rect.right);
    EXPECT_EQ(r.bottom, e.rect.bottom);
  }

  // The user unticks the readme, as a click does.
  SendMessageA(Box(20002), BM_CLICK, 0, 0);
  EXPECT_FALSE(page.IsChecked(20002));
  EXPECT_TRUE(page.IsChecked(20001));
  EXPECT_TRUE(page.IsChecked(30006));

  page.FinishActions();
  std::vector<std::string> calls;
  for (const auto& c : shell.calls) calls.push_back(c.what + " " + c.path);
  const std::string desktop = system.desktopDirectory.value();
  EXPECT_EQ(calls, (std::vector<std::string>{
                       "link " + desktop + "\\Tool.Lnk",
                       "start \"C:\\Program Files\\Tarn Finish Test\\app.exe\" -x"}));

  // Entered again with the restart task, the page offers only that task's boxes.
  const project::Task restart = MakeTask(project::task::FinishPage, {});
  page.SetFinishTask(&restart);
  EXPECT_FALSE(Box(20001));
  EXPECT_FALSE(Box(20002));
  ASSERT_TRUE(Box(999));
  EXPECT_EQ(WindowText(Box(999)), "Restart the computer now");
  EXPECT_TRUE(Box(30006));
  page.Destroy();
}

TEST_F(FinishPageTest, RestartIsAskedForOnlyWhileItsBoxIsTicked) {
  CreatePage();
  const project::Task task = MakeTask(project::task::FinishPage, {});
  dir.WriteFile("~temp.ini", "x");
  session.TempFileList = {dir.Path("~temp.ini")};
  page.SetFinishTask(&task);
  page.Show();
  ASSERT_TRUE(page.IsChecked(999));

  SendMessageA(Box(999), BM_CLICK, 0, 0);
  ASSERT_FALSE(page.IsChecked(999));
  page.FinishActions();
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_TRUE(dir.Exists("~temp.ini"));

  SendMessageA(Box(999), BM_CLICK, 0, 0);
  page.FinishActions();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].what, "restart");
  EXPECT_FALSE(dir.Exists("~temp.ini"));
  page.Destroy();
}

TEST_F(FinishPageTest, WithoutTaskThereIsNothingToDo) {
  CreatePage();
  page.SetFinishTask(nullptr);
  page.FinishActions();
  EXPECT_FALSE(Box(999));
  EXPECT_TRUE(shell.calls.empty());
  page.Destroy();
}

}  // namespace
}  // namespace tarn::wizard
#endif
