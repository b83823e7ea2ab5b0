// A silent installation as a whole: the wizard's defaults and the command line's choices, the
// answers that end a run safely, and the log an administrator reads afterwards.

#include <gtest/gtest.h>

#include <regex>

#include "engine/actions/Cleanup.h"
#include "startup/SilentInstall.h"
#include "startup/StartupDefaults.h"
#include "support/InstallScene.h"

namespace tarn::startup {

using engine::RunCleanup;
namespace {

using platform::RootKey;
using test::Files;
using test::Registry;
using test::Sub;
using test::Task;

std::string Page(const std::string& id, const std::string& subTasks = "") {
  return "<Task ID=\"" + id + "\" Type=\"ShowDialogBox\" IsExec=\"1\">\r\n" + subTasks +
         "</Task>\r\n";
}

const std::string kWalk =
    Page("2002") + Page("2003") +
    Page("2005",
         Sub("<Description>|registerinfouserdesc|</Description>\r\n" + Registry("Owner", "nobody"),
             "EditBox")) +
    Page("2006") + Page("2007") + Page("2008") +
    Page("2010", Sub("<Description>Run it</Description>\r\n<File>app.exe</File>\r\n"
                     "<Folder>[InstallDir]</Folder>\r\n<AppParameter></AppParameter>\r\n",
                     "RunApp")) +
    Task("2404", Sub("<Description>Demo Programs</Description>\r\n") +
                     Sub("<Description>Later</Description>\r\n<File>app.exe</File>\r\n"
                         "<Folder>[InstallDir]</Folder>\r\n<IsToDesktop>1</IsToDesktop>\r\n"
                         "<IsSpecExec>1</IsSpecExec>\r\n<SpecExecDesc>Desktop</SpecExecDesc>\r\n",
                         "CreateShortcutMenu"));

struct SilentScene : test::InstallScene {
  // Loads the package with the walk above, opens the log and applies the command line's choices.
  bool Prepare(std::vector<test::PackageStream> streams, const SetupOptions& options,
               const std::string& walk = kWalk) {
    registry.PutString(RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                       "RegisteredOwner", "Ann");
    if (!session.Log.Open(files, clock, dir.Path("setup.log"), session.CodePage)) return false;
    if (!Load(std::move(streams), "", walk)) return false;
    ApplySetupOptions(session, options);
    session.LoggedShell.SetSilent();
    return true;
  }
  std::string Log() { return Read("setup.log"); }
};

TEST(SilentInstall, InstallsWithTheDefaultsAndLogsWhatItDid) {
  SilentScene t;
  SetupOptions options;
  options.installDir = t.dir.Path("Chosen App");
  options.programFolder = "Caf\xE9 Tools";
  ASSERT_TRUE(t.Prepare(
      {{"[InstallDir]\\app.exe", "A", "program"}, {"[InstallDir]\\readme.txt", "A", "read me"}},
      options));
  EXPECT_TRUE(RunSilentInstallation(t.session));
  EXPECT_TRUE(t.session.InstallCompleted);
  EXPECT_TRUE(t.session.LicenceAccepted);

  EXPECT_EQ(t.Read("Chosen App\\app.exe"), "program");
  EXPECT_EQ(t.Read("App\\app.exe"), "<missing>");
  EXPECT_TRUE(t.dir.Exists("Start Menu\\Programs\\Caf\xE9 Tools"));
  const auto owner = t.registry.GetValue(RootKey::CurrentUser, "Software\\Demo", "Owner");
  ASSERT_TRUE(owner.has_value());
  EXPECT_EQ(owner->data, std::string("Ann", 4));
  // The finish page's shortcut, but neither its program nor a message box.
  const auto links = t.ShellCalls("link");
  EXPECT_NE(std::find_if(links.begin(), links.end(),
                         [&](const std::string& p) { return p.find("Later") != p.npos; }),
            links.end());
  EXPECT_TRUE(t.ShellCalls("start").empty());
  EXPECT_TRUE(t.ShellCalls("open").empty());
  EXPECT_TRUE(t.ShellCalls("message").empty());
  // Nobody watches: neither the entry pauses nor the stage gates wait, and the timer stays.
  EXPECT_EQ(t.clock.pausedMilliseconds, 0u);
  EXPECT_EQ(t.clock.timerRaised, 0);

  const std::string log = t.Log();
  const std::string app = t.dir.Path("Chosen App");
  for (const std::string& line :
       {"Installation folder: \"" + app + "\" (from the command line)",
        std::string("Program folder: \"Caf\xC3\xA9 Tools\" (from the command line)"),
        std::string("Licence accepted by the silent installation's command line"),
        std::string("User information: name \"Ann\", company \"\""),
        "Folder created: \"" + app + "\\data\"",
        "File written: \"" + app + "\\app.exe\" (7 bytes, kind A, application file)",
        "File written: \"" + app + "\\readme.txt\" (7 bytes, kind A, application file)",
        std::string("File stage over after 0 ms (0 ms of it pauses)"),
        std::string("Registry value written: HKEY_CURRENT_USER\\Software\\Demo \"Owner\" = "
                    "REG_SZ \"Ann\""),
        std::string("Shortcut created: "), std::string("Installation completed"),
        std::string("Programs of the finish page not started")})
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
  // Every line carries its time.
  const std::regex stamped(R"(^(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} [^\r\n]*\r\n)+$)");
  EXPECT_TRUE(std::regex_match(log, stamped)) << log;
}

TEST(SilentInstall, EndsSafelyWhereAPersonWouldHaveBeenAsked) {
  struct Case {
    const char* what;
    std::string walk;
    bool blockFile;  // a folder stands where the second file goes
    const char* logged;
  } cases[] = {
      {"a file that cannot be written abandons and rolls back", kWalk, true,
       "Question \"Message\": Cannot write "},
      {"a project without an installation step installs nothing",
       Page("2002") + Page("2007") + Page("2010"), false,
       "The project has no installation step: nothing was installed"},
      {"no executable step at all", Task("2008", ""), false,
       "The project has no installation step"},
  };
  for (const auto& c : cases) {
    SilentScene t;
    t.dir.WriteFile("App\\first.txt", "earlier version");
    if (c.blockFile) t.dir.MakeFolder("App\\second.txt");
    ASSERT_TRUE(t.Prepare({{"[InstallDir]\\first.txt", "A", "1"},
                           {"[InstallDir]\\second.txt", "A", "2"},
                           {"[InstallDir]\\third.txt", "A", "3"}},
                          {}, c.walk))
        << c.what;
    EXPECT_FALSE(RunSilentInstallation(t.session)) << c.what;
    EXPECT_FALSE(t.session.InstallCompleted) << c.what;
    RunCleanup(t.session);
    EXPECT_EQ(t.Read("App\\first.txt"), "earlier version") << c.what;
    EXPECT_EQ(t.Read("App\\third.txt"), "<missing>") << c.what;
    EXPECT_TRUE(t.ShellCalls("link").empty()) << c.what;
    const std::string log = t.Log();
    EXPECT_NE(log.find(c.logged), std::string::npos) << c.what << "\n" << log;
    if (c.blockFile) {
      EXPECT_NE(log.find(". Stop? -> Yes"), std::string::npos) << log;
      EXPECT_NE(log.find("Installation abandoned"), std::string::npos) << log;
      EXPECT_NE(log.find("Roll-back: earlier version restored: \"" + t.dir.Path("App\\first.txt")),
                std::string::npos)
          << log;
    }
  }
}

}  // namespace
}  // namespace tarn::startup
