#ifdef _WIN32
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "engine/session/SetupSession.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "project/TaskIds.h"
#include "res/resource.h"
#include "support/FakeClock.h"
#include "support/FakeRegistry.h"
#include "support/FakeSystemFacts.h"
#include "support/RecordingShell.h"
#include "support/ScratchFolder.h"
#include "support/win32/HostWindow.h"
#include "support/win32/PageSession.h"
#include "support/win32/TreeItems.h"
#include "text/ByteText.h"
#include "wizard/ChangeInstallPath.h"
#include "wizard/RegisterInfo.h"
#include "wizard/SelectProgramFolder.h"

namespace tarn::wizard {
namespace {

using project::LanguageKey;
using test::HostWindow;
using test::PageSession;
using namespace test::tree_items;

std::string WindowText(HWND window) {
  std::vector<char> buffer(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
  return buffer.data();
}

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

void Type(HWND dialog, int id, const std::string& text) {
  SetWindowTextA(GetDlgItem(dialog, id), text.c_str());
}

std::vector<std::string> ListItems(HWND dialog, int id, UINT countMessage, UINT textMessage) {
  std::vector<std::string> items;
  const auto count = SendDlgItemMessageA(dialog, id, countMessage, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char buffer[512] = {};
    SendDlgItemMessageA(dialog, id, textMessage, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(buffer));
    items.emplace_back(buffer);
  }
  return items;
}

TEST(ProgramFolderPage, ListsExistingFoldersSortedAndCopiesThePickedOne) {
  test::ScratchFolder dir;
  for (const char* folder :
       {"Programs\\Zeta", "Programs\\alpha", "Programs\\Beta\\Sub", "Programs\\.hidden"})
    dir.MakeFolder(folder);
  dir.WriteFile("Programs\\link.lnk", "not a folder");
  dir.WriteFile("Programs\\.profile", "x");
  PageSession s;
  s.fake.PutString(platform::RootKey::LocalMachine,
                   "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                   "Common Programs", dir.Path("Programs"));
  s.session.ProgramFolderPath = "Tarn Sample";

  HostWindow host;
  CSelectProgramFolder page(s.session);
  ASSERT_TRUE(page.Create(host.Get()));
  page.Show();
  const HWND h = page.Hwnd();
  const project::LanguageTable& texts = s.session.Language;
  EXPECT_EQ(page.GetSubject(), texts.GetText(LanguageKey::ProgramFolderSubject));
  EXPECT_EQ(ItemText(h, IDC_FOLDER_EXPLANATION), texts.GetText(LanguageKey::ProgramFolderDesc2));
  EXPECT_EQ(ItemText(h, IDC_FOLDER_EDIT_CAPTION), texts.GetText(LanguageKey::ProgramFolderDesc3));
  EXPECT_EQ(ItemText(h, IDC_FOLDER_LIST_CAPTION), texts.GetText(LanguageKey::ProgramFolderDesc4));
  EXPECT_EQ(ItemText(h, IDC_FOLDER_NAME), "Tarn Sample");
  EXPECT_EQ(page.GetFolderName(), "Tarn Sample");
  EXPECT_EQ(ListItems(h, IDC_FOLDER_LIST, LB_GETCOUNT, LB_GETTEXT),
            (std::vector<std::string>{"alpha", "Beta", "Zeta"}));

  SendDlgItemMessageA(h, IDC_FOLDER_LIST, LB_SETCURSEL, 1, 0);
  SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_FOLDER_LIST, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_FOLDER_LIST)));
  EXPECT_EQ(ItemText(h, IDC_FOLDER_NAME), "Beta");
  EXPECT_EQ(page.GetFolderName(), "Beta");
  // Typing afterwards changes the name freely.
  Type(h, IDC_FOLDER_NAME, "Beta Tools");
  EXPECT_EQ(page.GetFolderName(), "Beta Tools");
  // A selection change without a selection leaves the name alone.
  SendDlgItemMessageA(h, IDC_FOLDER_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_FOLDER_LIST, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_FOLDER_LIST)));
  EXPECT_EQ(page.GetFolderName(), "Beta Tools");
  page.Destroy();

  // Without a Start-menu folder the list stays empty.
  PageSession bare;
  CSelectProgramFolder none(bare.session);
  ASSERT_TRUE(none.Create(host.Get()));
  EXPECT_EQ(SendDlgItemMessageA(none.Hwnd(), IDC_FOLDER_LIST, LB_GETCOUNT, 0, 0), 0);
  none.Destroy();
}

// Text values of the real registry, for the user information page.
std::optional<std::string> ReadString(HKEY root, const std::string& key, const std::string& name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::nullopt;
  char buffer[1024] = {};
  DWORD size = sizeof buffer - 1;
  DWORD type = 0;
  const LONG rc = RegQueryValueExA(opened, name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(opened);
  if (rc != ERROR_SUCCESS) return std::nullopt;
  return std::string(buffer);
}

void WriteString(HKEY root, const std::string& key, const std::string& name,
                 const std::string& value) {
  HKEY opened = nullptr;
  ASSERT_EQ(RegCreateKeyA(root, key.c_str(), &opened), ERROR_SUCCESS);
  RegSetValueExA(opened, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(opened);
}

// Puts a value in place for the test and the previous one back afterwards.
class ValueOverride {
 public:
  ValueOverride(HKEY root, std::string key, std::string name, const std::string& value)
      : root_(root),
        key_(std::move(key)),
        name_(std::move(name)),
        previous_(ReadString(root, key_, name_)) {
    WriteString(root_, key_, name_, value);
  }
  ~ValueOverride() {
    if (previous_) {
      WriteString(root_, key_, name_, *previous_);
    } else {
      HKEY opened = nullptr;
      if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_SET_VALUE, &opened) == ERROR_SUCCESS) {
        RegDeleteValueA(opened, name_.c_str());
        RegCloseKey(opened);
      }
    }
  }

 private:
  HKEY root_;
  std::string key_, name_;
  std::optional<std::string> previous_;
};

project::SubTask MakeSubTask(project::SubTaskType type, std::initializer_list<std::string> fields) {
  project::SubTask subTask("1", type);
  for (const std::string& field : fields) {
    const std::size_t eq = field.find('=');
    subTask.AddField(project::FieldNameOf(field.substr(0, eq)), field.substr(eq + 1));
  }
  return subTask;
}

TEST(UserInfoPage, ShowsTheRegisteredOwnerAndWritesThroughItsEditBoxOperations) {
  const std::string nt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  const std::string nine = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  const std::string target = "Software\\TarnChoicePagesTest";
  ValueOverride ntOwner(HKEY_LOCAL_MACHINE, nt, "RegisteredOwner", "Ann Owner");
  ValueOverride ntOrg(HKEY_LOCAL_MACHINE, nt, "RegisteredOrganization", "Tarn Works");
  ValueOverride nineOwner(HKEY_LOCAL_MACHINE, nine, "RegisteredOwner", "Bob Ninety");
  ValueOverride nineOrg(HKEY_LOCAL_MACHINE, nine, "RegisteredOrganization", "Old Works");
  RegDeleteKeyA(HKEY_CURRENT_USER, target.c_str());

  const std::string key = "RegSubKey=\\" + target;
  project::Task task("2005", project::TaskType::ShowDialogBox, true);
  task.AddSubTask(MakeSubTask(
      project::SubTaskType::EditBox,
      {"Description=|registerinfouserdesc|", "RegRootKey=HKEY_CURRENT_USER", key, "RegVarName=User",
       "RegVarValue=nobody", "RegDataType=0", "RegOperType=0", "IsOnlyToKey=0"}));
  // No root of its own: the one named before stays in force.
  task.AddSubTask(MakeSubTask(
      project::SubTaskType::EditBox,
      {"Description=|RegisterInfoCompanyDesc|", key, "RegVarName=Company",
       "RegVarValue=[InstallDir]\\co", "RegDataType=0", "RegOperType=0", "IsOnlyToKey=0"}));
  task.AddSubTask(MakeSubTask(project::SubTaskType::EditBox,
                              {"Description=Name:", key, "RegVarName=Plain", "RegVarValue=x"}));
  task.AddSubTask(MakeSubTask(
      project::SubTaskType::GetValue,
      {"Description=|RegisterInfoUserDesc|", key, "RegVarName=NotEditBox", "RegVarValue=x"}));

  platform::Win32Registry registry;
  HostWindow host;
  const struct {
    bool windows98;
    std::string owner, organisation;
  } systems[] = {{false, "Ann Owner", "Tarn Works"}, {true, "Bob Ninety", "Old Works"}};
  for (const auto& system : systems) {
    PageSession s(&registry);
    if (system.windows98) s.system.Windows9x(4, 10);
    s.session.InstallDir = "C:\\Tarn";
    CRegisterInfo page(s.session);
    ASSERT_TRUE(page.Create(host.Get()));
    page.SetTask(&task);
    page.Show();
    const HWND h = page.Hwnd();
    EXPECT_EQ(ItemText(h, IDC_USER_CAPTION),
              s.session.Language.GetText(LanguageKey::RegisterInfoUserDesc));
    EXPECT_EQ(ItemText(h, IDC_COMPANY_CAPTION),
              s.session.Language.GetText(LanguageKey::RegisterInfoCompanyDesc));
    EXPECT_EQ(ItemText(h, IDC_USER_NAME), system.owner);
    EXPECT_EQ(ItemText(h, IDC_COMPANY), system.organisation);
    EXPECT_EQ(page.UserName(), system.owner);

    Type(h, IDC_USER_NAME, "Zoe Writer");
    Type(h, IDC_COMPANY, "");
    page.StoreValues();
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, target, "User"), "Zoe Writer");
    // An empty box writes the operation's own value.
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, target, "Company"), "C:\\Tarn\\co");
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, target, "Plain"), std::nullopt);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, target, "NotEditBox"), std::nullopt);
    // Every departure writes the latest texts again.
    Type(h, IDC_COMPANY, "Zed Ltd");
    page.StoreValues();
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, target, "Company"), "Zed Ltd");
    page.Destroy();
    RegDeleteKeyA(HKEY_CURRENT_USER, target.c_str());
  }
}

struct InstallPathSession : PageSession {
  InstallPathSession() {
    project::Task properties(std::string(project::task::Properties), project::TaskType::DataSetting,
                             false);
    properties.AddSubTask(MakeSubTask(project::SubTaskType::GetAllVar, {"SoftwareSize=6565277"}));
    session.Project.AddTask(properties);
  }
};

HTREEITEM PathTreeRoot(HWND page) { return TreeView_GetRoot(GetDlgItem(page, IDC_PATH_TREE)); }

TEST(InstallPathPage, ComposesTheDestinationFromTheChosenFolderOrDrive) {
  InstallPathSession s;
  s.session.InstallDir = "C:\\Program Files\\Tarn Sample";
  const project::LanguageTable& texts = s.session.Language;
  HostWindow host;
  CChangeInstallPath page(s.session);
  ASSERT_TRUE(page.Create(host.Get()));
  page.Show();
  const HWND h = page.Hwnd();
  const HWND tree = GetDlgItem(h, IDC_PATH_TREE);

  EXPECT_EQ(page.GetPath(), "C:\\Program Files\\Tarn Sample");
  EXPECT_EQ(ItemText(h, IDC_PATH), "C:\\Program Files\\Tarn Sample");
  EXPECT_EQ(ItemText(h, IDC_PATH_DESCRIPTION), texts.GetText(LanguageKey::ChangePathDesc2));
  EXPECT_EQ(ItemText(h, IDC_SIZE_LINE), texts.GetText(LanguageKey::ChangePathSoftSizeDesc1) +
                                            " 6.26 MB " +
                                            texts.GetText(LanguageKey::ChangePathSoftSizeDesc2));

  // One line per offered drive, the starting path's drive selected.
  const std::vector<std::string> drives = ListItems(h, IDC_DRIVE_LIST, CB_GETCOUNT, CB_GETLBTEXT);
  const std::string prefix = texts.GetText(LanguageKey::ChangePathFreeSpaceDesc1);
  const std::string suffix = " MB " + texts.GetText(LanguageKey::ChangePathFreeSpaceDesc3);
  ASSERT_FALSE(drives.empty());
  int other = -1;
  for (std::size_t i = 0; i < drives.size(); ++i) {
    const std::string& line = drives[i];
    EXPECT_EQ(line.substr(0, prefix.size()), prefix) << line;
    EXPECT_NE(line.substr(prefix.size(), 1), "A") << line;
    EXPECT_EQ(line.substr(line.size() - suffix.size()), suffix) << line;
    if (line.substr(prefix.size(), 1) != "C" && other < 0) other = static_cast<int>(i);
  }
  const auto selected = SendDlgItemMessageA(h, IDC_DRIVE_LIST, CB_GETCURSEL, 0, 0);
  ASSERT_GE(selected, 0);
  EXPECT_EQ(drives[static_cast<std::size_t>(selected)].substr(0, prefix.size() + 2),
            prefix + "C" + texts.GetText(LanguageKey::ChangePathFreeSpaceDesc2));

  // The tree shows drive C, its root selected and open.
  const HTREEITEM root = PathTreeRoot(h);
  EXPECT_EQ(TreeText(tree, root), "C:");
  EXPECT_EQ(TreeView_GetSelection(tree), root);
  EXPECT_TRUE(IsExpanded(tree, root));

  // A folder picked in the tree keeps the product's folder below it.
  const HTREEITEM windows = ChildNamed(tree, root, "windows");
  ASSERT_NE(windows, nullptr);
  TreeView_SelectItem(tree, windows);
  EXPECT_EQ(page.GetPath(), "C:\\windows\\Tarn Sample");

  // Typing is taken as typed.
  Type(h, IDC_PATH, "C:\\Typed");
  EXPECT_EQ(page.GetPath(), "C:\\Typed");

  // Another drive (Wine always has Z:) moves the Program Files folder there.
  EXPECT_GE(other, 0);
  if (other >= 0) {
    const std::string letter = drives[static_cast<std::size_t>(other)].substr(prefix.size(), 1);
    SendDlgItemMessageA(h, IDC_DRIVE_LIST, CB_SETCURSEL, static_cast<WPARAM>(other), 0);
    SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_DRIVE_LIST, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_DRIVE_LIST)));
    EXPECT_EQ(page.GetPath(), letter + ":\\Program Files\\Tarn Sample");
    EXPECT_EQ(TreeText(tree, PathTreeRoot(h)), letter + ":");
  }
  SendDlgItemMessageA(h, IDC_DRIVE_LIST, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_DRIVE_LIST, CBN_SELENDOK),
               reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_DRIVE_LIST)));
  EXPECT_EQ(page.GetPath(), "C:\\Program Files\\Tarn Sample");
  page.Destroy();
}

TEST(InstallPathPage, StartsFromPathsOutsideProgramFilesAndFromOverlongOnes) {
  const std::string overlong = "C:\\" + std::string(1100, 'x');
  const struct {
    std::string installDir;
    std::string shown;      // after the page composed from the drive root
    std::string inWindows;  // after picking C:\windows
  } cases[] = {
      {"C:\\Apps\\MyApp", "C:\\Apps\\MyApp", "C:\\windows\\Apps\\MyApp"},
      {"c:\\apps\\MyApp", "C:\\apps\\MyApp", "C:\\windows\\apps\\MyApp"},
      {"C:\\", "C:\\", "C:\\windows\\"},
      {overlong, "C:\\", "C:\\windows\\"},
  };
  HostWindow host;
  for (const auto& c : cases) {
    InstallPathSession s;
    s.session.InstallDir = c.installDir;
    CChangeInstallPath page(s.session);
    ASSERT_TRUE(page.Create(host.Get()));
    const HWND tree = GetDlgItem(page.Hwnd(), IDC_PATH_TREE);
    EXPECT_EQ(page.GetPath(), c.shown);
    EXPECT_GE(SendDlgItemMessageA(page.Hwnd(), IDC_DRIVE_LIST, CB_GETCURSEL, 0, 0), 0);
    TreeView_SelectItem(tree, ChildNamed(tree, PathTreeRoot(page.Hwnd()), "windows"));
    EXPECT_EQ(page.GetPath(), c.inWindows);
    page.Destroy();
  }
}

}  // namespace
}  // namespace tarn::wizard
#endif
