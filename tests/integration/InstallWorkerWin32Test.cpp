// The install worker against the real Win32 platform under Wine: a package made by the package
// builder is installed into a scratch folder with the real file system, registry and shell,
// and every outcome is read back through the system's own calls.
#ifdef _WIN32

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/InstallWorker.h"
#include "engine/actions/Cleanup.h"
#include "support/win32/FilesOnDisk.h"
#include "support/win32/RegistryValues.h"
#include "support/win32/ShellLinks.h"
#include "support/win32/Win32InstallScene.h"

namespace tarn::engine {
namespace {

using test::IsFile;
using test::IsFolder;
using test::KeyExists;
using test::kProductRoot;
using test::LinkFields;
using test::LocalWriteTime;
using test::RawValue;
using test::ReadFileBytes;
using test::ReadLink;
using test::ReadValue;
using test::Sz;
using WineInstall = test::Win32InstallScene;

TEST(InstallWorkerWin32, ACompleteInstallationLandsInTheSystem) {
  WineInstall t;
  const std::string problem = t.BuildAndLoad();
  ASSERT_EQ(problem, "");
  const std::string installDir = t.InstallDir();
  const std::string windows = t.Path("WINDOWS");
  const std::string uninstaller = windows + "\\Tarn-UnInstall.exe";
  const std::string projectCopy = ReadFileBytes(t.session.ProjectCopyPath);

  ASSERT_EQ(RunInstallWorker(t.session, t.host), 0);
  ASSERT_TRUE(t.host.end.has_value());
  EXPECT_EQ(*t.host.end, InstallEnd::Completed);
  EXPECT_TRUE(t.host.questions.empty());
  EXPECT_EQ(t.host.progress, (std::vector<std::int32_t>{14, 28, 42, 57, 71, 85, 100}));

  // Files with their contents and local time stamps; folders.
  EXPECT_EQ(ReadFileBytes(t.Installed("app.txt")), "the application\r\n");
  EXPECT_EQ(LocalWriteTime(t.Installed("app.txt")), "2004-1-29 13:14:15");
  EXPECT_EQ(ReadFileBytes(t.Installed("data\\raw.bin")), WineInstall::kRawBytes);
  EXPECT_EQ(LocalWriteTime(t.Installed("data\\raw.bin")), "2003-12-31 23:59:58");
  EXPECT_EQ(ReadFileBytes(t.Installed("data\\deep\\notes.txt")), "notes");
  EXPECT_EQ(ReadFileBytes(t.Path("WINDOWS\\system32\\shared.dll")), "shared");
  EXPECT_EQ(LocalWriteTime(t.Path("WINDOWS\\system32\\shared.dll")), "2005-1-23 20:20:58");
  EXPECT_TRUE(IsFolder(t.Installed("data\\deep")));
  EXPECT_TRUE(IsFolder(t.Group()));

  // The kind-L program ran from where it was written, and is gone; so is the registry file.
  EXPECT_EQ(ReadFileBytes(t.Path("ran.txt")),
            "ran exit=0 path=" + t.Installed("step.exe") + "\r\n");
  EXPECT_FALSE(IsFile(t.Installed("step.exe")));
  EXPECT_FALSE(IsFile(t.Installed("settings.txt")));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, t.testKey + "\\Imported", "Greeting"),
            Sz("hello, world"));

  // The uninstaller, its language file and version.
  EXPECT_EQ(ReadFileBytes(uninstaller), "uninstaller");
  const std::string saved = ReadFileBytes(t.Path("WINDOWS\\system32\\TarnInstall\\409.ini"));
  EXPECT_EQ(saved.rfind("InstallProcessDesc2=Preparing\r\nCreateFolderDesc=Folders\r\n", 0), 0u)
      << saved;
  EXPECT_NE(saved.find("\r\nProjectName=" + t.title + "\r\n"), std::string::npos) << saved;
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kProductRoot, "LastVersion"), Sz("5.33"));

  // Registry operations of every type, and the deletions.
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, t.testKey, "Folder"), Sz(installDir + "\\bin -x"));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, t.testKey, "Number"),
            (RawValue{REG_DWORD, std::string("\x0c\0\0\0", 4)}));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, t.testKey, "Bytes"),
            (RawValue{REG_BINARY, std::string("\x01\x0a\xff", 3)}));
  EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, t.testKey, "Doomed"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, t.testKey + "\\Gone"));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, t.testKey + "\\Kept"));

  // Shortcuts, read back through the shell.
  const LinkFields app{
      t.Installed("app.txt"), "-x \"two words\"", installDir, "App", uninstaller, 0};
  const std::string quickLaunch1 = t.session.QuickLaunchDir1,
                    quickLaunch2 = t.session.QuickLaunchDir2;
  EXPECT_NE(quickLaunch1, quickLaunch2);
  for (const std::string& link : {t.Group() + "\\App.Lnk", t.Path("Desktop\\App.Lnk"),
                                  t.Path("Start Menu\\Programs\\StartUp\\App.Lnk"),
                                  quickLaunch1 + "App.Lnk", quickLaunch2 + "App.Lnk"}) {
    EXPECT_EQ(ReadLink(link), app) << link;
  }
  EXPECT_FALSE(IsFile(t.Path("Desktop\\Later.Lnk")));
  const std::string record = installDir + "\\TarnUninstall " + t.title + ".UCIP";
  const std::string removeLink = t.Group() + "\\Remove " + t.title + ".Lnk";
  EXPECT_EQ(ReadLink(removeLink),
            (LinkFields{uninstaller, record, windows, "Remove " + t.title, "", 0}));

  // Uninstall registration: the record, the system's list, the record type, the product keys.
  EXPECT_NE(projectCopy.find("<File>[InstallDir]\\app.txt,"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(record), projectCopy);
  const std::string uninstallKey =
      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + t.title;
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, uninstallKey, "DisplayName"), Sz(t.title));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, uninstallKey, "UninstallString"),
            Sz(uninstaller + " " + record));
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, ".UCIP", ""), Sz("TarnUnInstall"));
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, "TarnUnInstall", ""), Sz("Uninstall File"));
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, "TarnUnInstall\\DefaultIcon", ""), Sz(uninstaller + ",0"));
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, "TarnUnInstall\\Shell\\Open", ""), Sz(""));
  EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, "TarnUnInstall\\Shell\\Open\\Command", ""),
            (RawValue{REG_EXPAND_SZ, "\"" + uninstaller + "\" %1" + '\0'}));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, t.productKey + "\\1.5", "ProgramFolder"), Sz(t.Group()));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, t.productKey + "\\1.5", "UnInstallFileLink"),
            Sz(t.Group() + "\\Remove " + t.title + ".lnk"));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, t.productKey, "Path"), Sz(installDir));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, t.productKey, "Version"), Sz("1.5"));

  // Closing after a completed installation removes the temporary files only.
  RunCleanup(t.session);
  EXPECT_FALSE(IsFile(t.session.ProjectCopyPath));
  EXPECT_FALSE(IsFile(t.session.LanguageFilePath));
  EXPECT_TRUE(IsFile(t.Installed("app.txt")));
  EXPECT_TRUE(IsFile(record));
}

TEST(InstallWorkerWin32, AnAbandonedInstallationIsRolledBack) {
  WineInstall t;
  const std::string problem = t.BuildAndLoad();
  ASSERT_EQ(problem, "");
  t.host.abortAnswers = {true};
  t.host.onStatus = [&t](const std::string& text) {
    if (text == "Shortcuts") t.session.CancelRequested = true;
  };
  ASSERT_EQ(RunInstallWorker(t.session, t.host), -1);
  ASSERT_EQ(t.host.questions.size(), 1u);
  EXPECT_EQ(t.host.questions[0].kind, "abort");
  EXPECT_EQ(*t.host.end, InstallEnd::Abandoned);
  // The first shortcut subtask was done before the question; no registration after it.
  ASSERT_TRUE(IsFile(t.Path("Desktop\\App.Lnk")));
  ASSERT_TRUE(IsFile(t.Installed("app.txt")));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE,
                         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + t.title));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, t.productKey + "\\1.5"));
  EXPECT_FALSE(IsFile(t.Installed("TarnUninstall " + t.title + ".UCIP")));

  RunCleanup(t.session);
  for (const std::string& gone :
       {t.Installed("app.txt"), t.Installed("data\\raw.bin"), t.Installed("data\\deep\\notes.txt"),
        t.Group() + "\\App.Lnk", t.Path("Desktop\\App.Lnk"),
        t.Path("Start Menu\\Programs\\StartUp\\App.Lnk"), t.session.QuickLaunchDir1 + "App.Lnk",
        t.session.QuickLaunchDir2 + "App.Lnk", t.session.ProjectCopyPath}) {
    EXPECT_FALSE(IsFile(gone)) << gone;
  }
  // Created folders go once empty, children before parents as listed.
  for (const std::string& gone :
       {t.Installed("data\\deep"), t.Installed("data"), t.InstallDir(), t.Group()})
    EXPECT_FALSE(IsFolder(gone)) << gone;
  // Files under the Windows folder stay: other programs may already rely on them.
  EXPECT_EQ(ReadFileBytes(t.Path("WINDOWS\\Tarn-UnInstall.exe")), "uninstaller");
  EXPECT_EQ(ReadFileBytes(t.Path("WINDOWS\\system32\\shared.dll")), "shared");
  EXPECT_TRUE(IsFolder(t.Path("Start Menu\\Programs\\StartUp")));
}

}  // namespace
}  // namespace tarn::engine

#endif  // _WIN32
