#ifdef _WIN32
// What the pages answer the frame: whether they lie below the band, whether Next and Back may
// be used while they show, and what leaving them checks and keeps.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/win32/HostWindow.h"
#include "support/win32/PageSession.h"
#include "res/resource.h"
#include "support/ScratchFolder.h"
#include "wizard/ChangeInstallPath.h"
#include "wizard/Finish.h"
#include "wizard/InstallProcess.h"
#include "wizard/ReadSoftLicense.h"
#include "wizard/RegisterInfo.h"
#include "wizard/SelectProgramFolder.h"
#include "wizard/ShowReadme.h"
#include "wizard/WelcomePage.h"

namespace tarn::wizard {
namespace {

using test::HostWindow;
using test::PageSession;

void Type(HWND dialog, int id, const std::string& text) {
  SetWindowTextA(GetDlgItem(dialog, id), text.c_str());
}

TEST(PageRules, EachPageSaysWhereTheWizardMayGoFromIt) {
  PageSession s;
  CWelcomePage welcome(s.session);
  CReadSoftLicense licence(s.session);
  CShowReadme readme(s.session);
  CRegisterInfo userInfo(s.session);
  CChangeInstallPath installPath(s.session);
  CSelectProgramFolder programFolder(s.session);
  CInstallProcess progress(s.session);
  CFinish finish(s.session);
  const struct {
    const char* name;
    const CWizardPage& page;
    bool band, next, back;
  } cases[] = {
      {"welcome", welcome, false, true, true},
      {"licence not yet accepted", licence, true, false, true},
      {"readme", readme, true, true, true},
      {"user information", userInfo, true, true, true},
      {"install path", installPath, true, true, true},
      {"program folder", programFolder, true, true, true},
      {"progress", progress, true, false, false},
      {"finish", finish, true, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.page.HasBand(), c.band);
    EXPECT_EQ(c.page.CanGoNext(), c.next);
    EXPECT_EQ(c.page.CanGoBack(), c.back);
  }
  s.session.LicenceAccepted = true;
  EXPECT_TRUE(licence.CanGoNext());
  // Only the install path page has anything to check on the way.
  for (CWizardPage* page :
       {static_cast<CWizardPage*>(&welcome), static_cast<CWizardPage*>(&licence),
        static_cast<CWizardPage*>(&userInfo), static_cast<CWizardPage*>(&programFolder)}) {
    EXPECT_TRUE(page->Leave(PageKind::Progress));
  }
}

TEST(PageRules, LeavingChecksTheInstallPathAndKeepsTheProgramFolder) {
  test::ScratchFolder dir;
  HostWindow host;
  PageSession s;
  s.session.InstallDir = "C:\\Program Files\\Tarn Sample";
  CChangeInstallPath installPath(s.session);
  ASSERT_TRUE(installPath.Create(host.Get()));
  installPath.Show();
  const HWND h = installPath.Hwnd();

  // Too short a path keeps the page on the way to the installation, and only there.
  Type(h, IDC_PATH, "C:");
  EXPECT_FALSE(installPath.Leave(PageKind::Progress));
  EXPECT_EQ(s.session.InstallDir, "C:\\Program Files\\Tarn Sample");
  EXPECT_TRUE(installPath.Leave(PageKind::ProgramFolder));
  EXPECT_TRUE(installPath.Leave(PageKind::UserInfo));
  EXPECT_EQ(s.session.InstallDir, "C:\\Program Files\\Tarn Sample");

  // A usable path is created and becomes the install folder, without its trailing backslash.
  const std::string target = dir.Path("Target\\App");
  Type(h, IDC_PATH, target + "\\");
  EXPECT_TRUE(installPath.Leave(PageKind::Progress));
  EXPECT_EQ(s.session.InstallDir, target);
  EXPECT_TRUE(dir.Exists("Target\\App"));
  installPath.Destroy();

  s.session.ProgramFolderPath = "Tarn Sample";
  CSelectProgramFolder programFolder(s.session);
  ASSERT_TRUE(programFolder.Create(host.Get()));
  programFolder.Show();
  Type(programFolder.Hwnd(), IDC_FOLDER_NAME, "Tarn Tools");
  EXPECT_EQ(s.session.ProgramFolderPath, "Tarn Sample");
  programFolder.Hide();
  EXPECT_EQ(s.session.ProgramFolderPath, "Tarn Tools");
  EXPECT_FALSE(IsWindowVisible(programFolder.Hwnd()));
  programFolder.Destroy();
}

}  // namespace
}  // namespace tarn::wizard
#endif
