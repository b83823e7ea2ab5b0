// The install worker on a package built in a scratch folder, with fakes for the registry, the
// system facts and the shell, and a scripted host for the user's answers.
#include "engine/InstallWorker.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "support/InstallScene.h"

namespace tarn::engine {
namespace {

using platform::RootKey;
using Stream = test::PackageStream;

const std::string kStages[] = {"Preparing", "Folders",    "Files",     "Fonts",
                               "Registry",  "Components", "Leftovers", "Shortcuts"};

using test::Files;
using test::Registry;
using test::Sub;
using test::Task;
using Scene = test::InstallScene;

TEST(InstallWorker, ACompleteRunWorksThroughEveryStageInOrder) {
  Scene t;
  t.extraFileLines = "<File>an entry without its fields</File>\r\n";
  const std::string regFile =
      "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Demo]\r\n\"Imported\"=\"yes\"\r\n";
  const int result = t.Install(
      {{"[InstallDir]\\app.exe", "A", "program", "2004-2-29 13:14:15"},
       {"[InstallDir]\\data\\raw.bin", "N", "stored bytes"},
       {"[InstallDir]\\setup-step.exe", "L", "runs once"},
       {"[InstallDir]\\settings.txt", "R", regFile},
       {"[Windows Directory]\\Tarn-UnInstall.exe", "U", "uninstaller"},
       {"[Windows Directory]\\Fonts\\demo.ttf", "A", "font"},
       {"[InstallDir]\\old.tmp", "A", "leftover"}},
      "7",
      Task("2407", Sub(Files({"[Windows Directory]\\Fonts\\demo.ttf"}))) +
          Task("2405", Sub(Files({"[InstallDir]\\a.dll", "[InstallDir]\\b.reg",
                                  "[InstallDir]\\readme.txt", "[InstallDir]\\tool.exe"}))) +
          Task("2406", Sub(Registry("Folder", "[InstallDir]\\bin -x"), "Registry")) +
          Task("2409", Sub(Files({"[InstallDir]\\old.tmp"}))) +
          Task("2410", Sub("<CreateUnInstall1>1</CreateUnInstall1>\r\n"
                           "<CreateUnInstall2>1</CreateUnInstall2>\r\n")));
  EXPECT_EQ(result, 0);
  ASSERT_TRUE(t.host.end.has_value());
  EXPECT_EQ(*t.host.end, InstallEnd::Completed);
  EXPECT_EQ(t.host.statuses, std::vector<std::string>(std::begin(kStages), std::end(kStages)));
  EXPECT_TRUE(t.host.questions.empty());
  EXPECT_TRUE(t.session.ExtractionOver);
  EXPECT_TRUE(t.session.InstallCompleted);

  // Files, with the kinds' follow-ups.
  EXPECT_EQ(t.Read("App\\app.exe"), "program");
  EXPECT_EQ(t.Read("App\\data\\raw.bin"), "stored bytes");
  EXPECT_EQ(t.Read("App\\setup-step.exe"), "<missing>");
  EXPECT_EQ(t.Read("App\\settings.txt"), "<missing>");
  EXPECT_EQ(t.Read("App\\old.tmp"), "<missing>");
  EXPECT_EQ(t.Read("WINDOWS\\Tarn-UnInstall.exe"), "uninstaller");
  const std::string saved = t.Read("WINDOWS\\system32\\TarnInstall\\409.ini");
  EXPECT_EQ(saved.rfind("InstallProcessDesc2=Preparing\r\n", 0), 0u) << saved;
  EXPECT_NE(saved.find("\r\nProjectName=Demo 1.5\r\n"), std::string::npos) << saved;
  const auto version =
      t.registry.GetValue(RootKey::LocalMachine, "SOFTWARE\\TarnSoft\\TarnInstall", "LastVersion");
  ASSERT_TRUE(version);
  EXPECT_EQ(version->data, std::string("5.33", 5));
  const auto imported = t.registry.GetValue(RootKey::LocalMachine, "Software\\Demo", "Imported");
  ASSERT_TRUE(imported);
  EXPECT_EQ(imported->data, std::string("yes", 4));
  const auto written = t.registry.GetValue(RootKey::CurrentUser, "Software\\Demo", "Folder");
  ASSERT_TRUE(written);
  EXPECT_EQ(written->data, t.dir.Path("App") + "\\bin -x" + std::string(1, '\0'));

  // Every written file is listed for the roll-back, the uninstaller excepted.
  const std::vector<std::string> listed(t.session.Project.InstalledFileList.begin(),
                                        t.session.Project.InstalledFileList.begin() + 6);
  EXPECT_EQ(listed, (std::vector<std::string>{
                        t.dir.Path("App\\app.exe"), t.dir.Path("App\\data\\raw.bin"),
                        t.dir.Path("App\\setup-step.exe"), t.dir.Path("App\\settings.txt"),
                        t.dir.Path("WINDOWS\\Fonts\\demo.ttf"), t.dir.Path("App\\old.tmp")}));
  const std::string group = t.dir.Path("Start Menu\\Programs\\Demo Programs");
  EXPECT_EQ(t.session.ProgramFolderPath, group + "\\");
  EXPECT_EQ(t.session.Project.CreatedFolderList,
            (std::vector<std::string>{group, t.dir.Path("App\\data"), group}));

  // Programs and components, in order, with quoted program paths.
  const std::string windows = t.dir.Path("WINDOWS");
  EXPECT_EQ(t.ShellCalls("run"),
            (std::vector<std::string>{"\"" + t.dir.Path("App\\setup-step.exe") + "\"",
                                      "\"" + t.dir.Path("App\\tool.exe") + "\""}));
  EXPECT_EQ(
      t.ShellCalls("start"),
      (std::vector<std::string>{
          "\"" + windows + "\\Regedit.exe\" -s \"" + t.dir.Path("App\\b.reg") + "\"",
          "\"" + windows + "\\system32\\Regsvr32.exe\" \"" + t.dir.Path("App\\a.dll") + "\" /s"}));
  EXPECT_EQ(t.ShellCalls("open"), std::vector<std::string>{t.dir.Path("App\\readme.txt")});
  EXPECT_EQ(t.ShellCalls("font"), std::vector<std::string>{t.dir.Path("WINDOWS\\Fonts\\demo.ttf")});
  EXPECT_EQ(t.ShellCalls("font-change").size(), 1u);
  const auto font = t.registry.GetValue(RootKey::LocalMachine,
                                        "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
                                        "demo (TrueType)");
  ASSERT_TRUE(font);
  EXPECT_EQ(font->data, std::string("demo.ttf", 9));
  EXPECT_TRUE(t.registry.GetValue(
      RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo 1.5",
      "DisplayName"));

  // Progress once per counted file (K entries and the broken line are not counted), and
  // the pauses: eight at 300 ms, one of 3 ms per folder and per file entry but the broken one.
  EXPECT_EQ(t.host.progress, (std::vector<std::int32_t>{14, 28, 42, 57, 71, 85, 100}));
  EXPECT_EQ(t.clock.pausedMilliseconds, 8u * 300 + 2 * 3 + 8 * 3);
  // The timer is fine enough for those pauses while the worker runs, and given back after.
  EXPECT_EQ(t.clock.timerRaised, 1);
  EXPECT_EQ(t.clock.timerRestored, 1);
  EXPECT_EQ(t.registry.OpenHandles(), 0);
}

TEST(InstallWorker, CancelIsAskedAtTheNextCancelPointOfEachStage) {
  const std::string twoFonts =
      Task("2407", Sub(Files({"[InstallDir]\\f1.ttf", "[InstallDir]\\f2.ttf"})));
  const std::string twoValues =
      Task("2406", Sub(Registry("One", "1"), "Registry") + Sub(Registry("Two", "2"), "Registry"));
  const std::string components =
      Task("2405", Sub(Files({"[InstallDir]\\b.reg", "[InstallDir]\\c.exe"})));
  const std::string shortcut =
      Task("2404", Sub("<Description>Demo Programs</Description>\r\n") +
                       Sub("<Description>App</Description>\r\n<File>app.exe</File>\r\n"
                           "<Folder>[InstallDir]</Folder>\r\n<IsToDesktop>1</IsToDesktop>\r\n",
                           "CreateShortcutMenu"));
  const std::string uninstall = Task("2410", Sub("<CreateUnInstall1>1</CreateUnInstall1>\r\n"));
  struct Case {
    const char* what;
    std::string cancelAt;  // status text at which the user presses Cancel
    bool answer;
    std::string tasks;
    int result;
    std::function<void(Scene&)> check;
  } cases[] = {
      {"font stage, No: the next font still loads", "Fonts", false, twoFonts, 0,
       [](Scene& t) {
         EXPECT_EQ(t.ShellCalls("font").size(), 2u);
         EXPECT_FALSE(t.session.CancelRequested);
       }},
      {"registry import: asked after the first operation", "Registry", true, components + twoValues,
       -1,
       [](Scene& t) {
         EXPECT_EQ(t.ShellCalls("start").size(), 1u);  // the editor ran before the question
         EXPECT_TRUE(t.registry.GetValue(RootKey::CurrentUser, "Software\\Demo", "One"));
         EXPECT_FALSE(t.registry.GetValue(RootKey::CurrentUser, "Software\\Demo", "Two"));
         EXPECT_EQ(t.host.statuses.back(), "Registry");
       }},
      {"registry import without operations: asked before the first component", "Registry", true,
       components, -1,
       [](Scene& t) {
         EXPECT_EQ(t.host.statuses.back(), "Components");
         EXPECT_TRUE(t.ShellCalls("run").empty());
       }},
      {"shortcut stage, Yes: no uninstall registration", "Shortcuts", true, shortcut + uninstall,
       -1,
       [](Scene& t) {
         EXPECT_EQ(t.ShellCalls("link").size(), 1u);
         EXPECT_EQ(
             t.registry.SubKeyCount(RootKey::LocalMachine,
                                    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"),
             0u);
         EXPECT_FALSE(t.registry.HasKey(RootKey::LocalMachine,
                                        "SOFTWARE\\TarnSoft\\TarnInstall\\Acme\\Demo\\1.5"));
       }},
  };
  for (const auto& c : cases) {
    Scene t;
    t.host.abortAnswers = {c.answer};
    const std::string cancelAt = c.cancelAt;
    t.host.onStatus = [&t, cancelAt](const std::string& text) {
      if (text == cancelAt) t.session.CancelRequested = true;
    };
    EXPECT_EQ(t.Install({}, "", c.tasks), c.result) << c.what;
    ASSERT_EQ(t.host.questions.size(), 1u) << c.what;
    EXPECT_EQ(t.host.questions[0].text, "Stop now?");
    EXPECT_EQ(t.host.questions[0].caption, "Exit");
    EXPECT_EQ(*t.host.end, c.result == 0 ? InstallEnd::Completed : InstallEnd::Abandoned) << c.what;
    EXPECT_EQ(t.session.InstallRunning, c.result == 0) << c.what;
    c.check(t);
  }
}

TEST(InstallWorker, KeptFilesAndANewerUninstallerAreCountedButNotWritten) {
  const std::string keep =
      Task("2413", Sub(Files({"[InstallDir]\\a.ini.bak", "[InstallDir]\\run.exe"})) +
                       Sub(Files({"[InstallDir]\\new.ini"})));
  struct Case {
    const char* what;
    std::string lastVersion;  // "-": none registered
    bool uninstallerWritten;
  } cases[] = {{"none registered", "-", true},
               {"same version", "5.33", true},
               {"older version", "5.2", true},
               {"newer version", "5.4", false}};
  for (const auto& c : cases) {
    Scene t;
    if (c.lastVersion != "-")
      t.registry.PutString(RootKey::LocalMachine, "SOFTWARE\\TarnSoft\\TarnInstall", "LastVersion",
                           c.lastVersion);
    t.dir.WriteFile("App\\a.ini", "the user's settings");
    t.dir.WriteFile("App\\run.exe", "already there");
    EXPECT_EQ(t.Install({{"[InstallDir]\\a.ini", "A", "defaults"},
                         {"[InstallDir]\\run.exe", "L", "new"},
                         {"[InstallDir]\\new.ini", "A", "fresh"},
                         {"[Windows Directory]\\Tarn-UnInstall.exe", "U", "uninstaller"}},
                        "4", keep),
              0)
        << c.what;
    // A listed file that exists stays as it is and its follow-up does not run; a listed file
    // that does not exist yet is written.
    EXPECT_EQ(t.Read("App\\a.ini"), "the user's settings") << c.what;
    EXPECT_EQ(t.Read("App\\run.exe"), "already there") << c.what;
    EXPECT_TRUE(t.ShellCalls("run").empty()) << c.what;
    EXPECT_EQ(t.Read("App\\new.ini"), "fresh") << c.what;
    EXPECT_EQ(t.Read("WINDOWS\\Tarn-UnInstall.exe") != "<missing>", c.uninstallerWritten) << c.what;
    EXPECT_EQ(t.dir.Exists("WINDOWS\\system32\\TarnInstall\\409.ini"), c.uninstallerWritten)
        << c.what;
    EXPECT_EQ(t.host.progress, (std::vector<std::int32_t>{25, 50, 75, 100})) << c.what;
    // Kept and skipped entries take no pause: only the language file and new.ini do, besides
    // the written uninstaller.
    EXPECT_EQ(t.clock.pausedMilliseconds, 8u * 300 + 2 * 3 + (c.uninstallerWritten ? 3 : 2) * 3)
        << c.what;
  }
}

TEST(InstallWorker, AFileThatCannotBeWrittenAsksWhetherToStop) {
  struct Case {
    const char* what;
    std::string target;
    std::string blocked;  // a folder in the way of the target
    std::deque<bool> answers;
    int result;
    std::size_t questions;
  } cases[] = {
      {"Yes abandons the installation",
       "[InstallDir]\\locked.dat",
       "App\\locked.dat",
       {true},
       -1,
       1},
      {"No carries on as if written", "[InstallDir]\\locked.dat", "App\\locked.dat", {false}, 0, 1},
      {"a program that failed to write still runs",
       "[InstallDir]\\step.exe",
       "App\\step.exe",
       {false},
       0,
       1},
      {"the system folder is not asked about",
       "[System Directory]\\locked.dat",
       "WINDOWS\\system32\\locked.dat",
       {},
       0,
       0},
  };
  for (const auto& c : cases) {
    Scene t;
    t.dir.MakeFolder(c.blocked);
    t.host.writeErrorAnswers = c.answers;
    EXPECT_EQ(t.Install({{"[InstallDir]\\first.txt", "A", "1"},
                         {c.target, c.blocked == "App\\step.exe" ? "L" : "A", "2"},
                         {"[InstallDir]\\last.txt", "A", "3"}},
                        "3"),
              c.result)
        << c.what;
    ASSERT_EQ(t.host.questions.size(), c.questions) << c.what;
    if (c.questions > 0) {
      EXPECT_EQ(t.host.questions[0].text, "Cannot write " + t.dir.Path(c.blocked) + ". Stop?");
      EXPECT_EQ(t.host.questions[0].caption, "Message");
    }
    EXPECT_EQ(t.Read("App\\first.txt"), "1") << c.what;
    EXPECT_EQ(t.Read("App\\last.txt"), c.result == 0 ? "3" : "<missing>") << c.what;
    EXPECT_EQ(t.session.ExtractionOver, true) << c.what;
    EXPECT_EQ(t.session.InstallRunning, c.result == 0) << c.what;
    EXPECT_EQ(t.host.statuses.back(), c.result == 0 ? "Shortcuts" : "Files") << c.what;
    if (c.blocked == "App\\step.exe") {
      EXPECT_EQ(t.ShellCalls("run").size(), 1u);
      EXPECT_TRUE(t.dir.Exists("App\\step.exe"));  // a folder: deleting it as a file fails
    }
  }
}

TEST(InstallWorker, ProgressIsSentOncePerCountedFileWhenTheTotalIsKnown) {
  const struct {
    const char* what;
    std::string fileQty;
    std::vector<Stream> streams;
    std::vector<std::int32_t> progress;
  } cases[] = {
      {"no total", "", {{"[InstallDir]\\a", "A", "a"}}, {}},
      {"total zero", "0", {{"[InstallDir]\\a", "A", "a"}}, {}},
      {"negative total", "-3", {{"[InstallDir]\\a", "A", "a"}}, {}},
      {"only installer files", "2", {{"[TempFileDir]\\k", "K", "k"}}, {}},
      {"total too small",
       "2",
       {{"[InstallDir]\\a", "A", "a"},
        {"[InstallDir]\\b", "A", "b"},
        {"[InstallDir]\\c", "A", "c"}},
       {50, 100, 100}},
      {"a third each",
       "3",
       {{"[InstallDir]\\a", "A", "a"},
        {"[TempFileDir]\\k", "K", "k"},
        {"[InstallDir]\\b", "A", "b"},
        {"[InstallDir]\\c", "A", "c"}},
       {33, 66, 100}},
  };
  for (const auto& c : cases) {
    Scene t;
    EXPECT_EQ(t.Install(c.streams, c.fileQty), 0) << c.what;
    EXPECT_EQ(t.host.progress, c.progress) << c.what;
  }
}

TEST(InstallWorker, RunsOnAThreadOfItsOwnPreparedForShellWork) {
  Scene t;
  ASSERT_TRUE(t.Load({{"[InstallDir]\\app.exe", "A", "program"}}));
  t.session.CancelRequested = true;
  const auto worker = StartInstallWorker(t.session, t.host);
  EXPECT_EQ(worker->Join(), 0);
  EXPECT_FALSE(t.session.CancelRequested);
  EXPECT_TRUE(t.host.questions.empty());
  EXPECT_EQ(*t.host.end, InstallEnd::Completed);
  EXPECT_EQ(t.ShellCalls("thread").size(), 1u);
  EXPECT_EQ(t.Read("App\\app.exe"), "program");
}

}  // namespace
}  // namespace tarn::engine
