// A run killed at any point is undone by the next one: the file layer plays a process killed
// after its k-th change to the disk, for every k through an upgrade, and recovery from the
// journal must give back the exact tree of before the run.
#include "engine/actions/JournalRecovery.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "engine/InstallWorker.h"
#include "engine/actions/Cleanup.h"
#include "engine/actions/RunJournal.h"
#include "engine/journal/JournalRecord.h"
#include "support/InstallScene.h"

namespace tarn::engine {
namespace {

namespace fs = std::filesystem;
using platform::RootKey;
using test::PackageStream;

const std::string kProduct = "SOFTWARE\\TarnSoft\\TarnInstall";
const std::string kShellFolders =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::vector<PackageStream> Upgrade() {
  std::vector<PackageStream> streams;
  for (int i = 0; i < 3; ++i) {
    const std::string n = std::to_string(i);
    streams.push_back({"[InstallDir]\\lib" + n + ".dll", "A", "new library " + n});
    streams.push_back({"[InstallDir]\\data\\add" + n + ".txt", i % 2 ? "A" : "N", "added " + n});
  }
  streams.push_back({"[InstallDir]\\twice.txt", "A", "first"});
  streams.push_back({"[InstallDir]\\twice.txt", "A", "second"});
  streams.push_back({"[Windows Directory]\\Tarn-UnInstall.exe", "U", "new uninstaller"});
  return streams;
}

const std::string kTasks =
    test::Task("2410", test::Sub("<CreateUnInstall1>1</CreateUnInstall1>\r\n"
                                 "<CreateUnInstall2>1</CreateUnInstall2>\r\n"));

// What an earlier version left: every library, a record, a shared uninstaller, and a user file.
void PutEarlierInstallation(test::InstallScene& t) {
  for (int i = 0; i < 3; ++i) t.dir.WriteFile("App\\lib" + std::to_string(i) + ".dll", "old");
  t.dir.WriteFile("App\\TarnUninstall Demo 1.5.UCIP", "old record");
  t.dir.WriteFile("App\\mine.txt", "the user's own");
  t.dir.WriteFile("WINDOWS\\Tarn-UnInstall.exe", "old uninstaller");
  for (const auto& entry : fs::recursive_directory_iterator(t.dir.HostPath("App")))
    fs::last_write_time(entry.path(), fs::last_write_time(entry.path()) - std::chrono::hours(900));
  t.registry.PutString(RootKey::LocalMachine, kShellFolders, "Common AppData",
                       t.dir.Path("ProgramData"));
}

struct Entry {
  std::string content;  // "<folder>" for a folder
  fs::file_time_type time;
  bool operator==(const Entry& o) const { return content == o.content && time == o.time; }
};

// Every file and folder below the scratch root but the temporary folder, which the run's
// loading fills before any journal exists, and the shared folder, whose new files stay.
std::map<std::string, Entry> Tree(test::InstallScene& t) {
  std::map<std::string, Entry> tree;
  const fs::path root = t.dir.HostPath("");
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    const std::string name = fs::relative(e.path(), root).generic_string();
    if (name.rfind("temp", 0) == 0 || name.rfind("WINDOWS", 0) == 0) continue;
    if (e.is_directory()) {
      if (name != "ProgramData" && name != "ProgramData/TarnInstall") tree[name] = {"<folder>", {}};
      continue;
    }
    std::string bytes;
    t.dir.ReadFile(name, bytes);
    tree[name] = {bytes, e.last_write_time()};
  }
  return tree;
}

std::string Differences(const std::map<std::string, Entry>& a,
                        const std::map<std::string, Entry>& b) {
  std::string text;
  for (const auto& [name, entry] : a)
    if (!b.count(name) || !(b.at(name) == entry)) text += " changed or gone: " + name;
  for (const auto& [name, entry] : b)
    if (!a.count(name)) text += " added: " + name;
  return text;
}

TEST(JournalRecovery, ARunKilledAfterAnyChangeIsUndoneExactly) {
#ifdef TARN_PRODUCT_WITHOUT_EXCEPTIONS
  GTEST_SKIP() << "the kill is played by an exception, which cannot pass through the Windows "
                  "build's code; the Wine scenario recovery_kill kills the real program";
#endif
  int stops = 0;
  for (int k = 1;; ++k) {
    test::InstallScene t;
    PutEarlierInstallation(t);
    ASSERT_TRUE(t.Load(Upgrade(), "8", kTasks));
    const auto before = Tree(t);
    t.files.stopAfter = t.files.operations + k;
    try {
      RunInstallWorker(t.session, t.host);
    } catch (const test::ProcessKilled&) {
    }
    if (!t.files.stopped) {
      EXPECT_GT(stops, 60) << "too few points to stop at";
      EXPECT_FALSE(t.registry.GetValue(RootKey::LocalMachine, kProduct, "InProgress"));
      break;
    }
    ++stops;
    const std::string when = "killed after change " + std::to_string(k);
    const auto libraries = [&t](const char* version) {
      std::string all;
      for (int i = 0; i < 3; ++i) all += t.Read("App\\lib" + std::to_string(i) + ".dll") + "|";
      return all == (std::string(version) == "old" ? "old|old|old|"
                                                   : "new library 0|new library 1|new library 2|");
    };
    for (int i = 0; i < 3; ++i) {
      const std::string n = std::to_string(i), lib = t.Read("App\\lib" + n + ".dll");
      EXPECT_TRUE(lib == "old" || lib == "new library " + n) << when << ": lib" << n << " " << lib;
    }
    const std::string record = t.Read("App\\TarnUninstall Demo 1.5.UCIP");
    EXPECT_TRUE(record == "old record" || record.find("<ProjectName>") != std::string::npos)
        << when;

    // The next run, in a process of its own; the killed one is gone, and with it its handles.
    t.session.Journal.Close();
    t.files.stopAfter = 0;
    SetupSession next(t.Services(t.files));
    t.shell.processId = 5151;
    const RecoveryReport report = RecoverInterruptedInstallation(next);
    t.shell.processId = 4242;
    // Killed after the installation completed (its journal says so, or is gone already):
    // only its kept copies were left to go.
    const bool completed = report.outcome == RecoveryReport::Outcome::Completed ||
                           (report.outcome == RecoveryReport::Outcome::Nothing && libraries("new"));
    if (completed) {
      EXPECT_TRUE(libraries("new")) << when;
      for (const auto& [name, entry] : Tree(t))
        EXPECT_EQ(name.find(".~TarnInstall"), std::string::npos) << when << ": " << name;
    } else {
      EXPECT_TRUE(libraries("old")) << when;
      EXPECT_EQ(Differences(before, Tree(t)), "") << when;
    }
    EXPECT_FALSE(t.registry.GetValue(RootKey::LocalMachine, kProduct, "InProgress")) << when;
    const std::string journals = t.dir.HostPath("ProgramData\\TarnInstall");
    EXPECT_TRUE(!fs::exists(journals) || fs::is_empty(journals)) << when;
    const std::string uninstaller = t.Read("WINDOWS\\Tarn-UnInstall.exe");
    EXPECT_TRUE(uninstaller == "old uninstaller" || uninstaller == "new uninstaller") << when;
    EXPECT_NE(report.outcome, RecoveryReport::Outcome::StillRunning) << when;
  }
}

// Journals that were not written by a run of this system, or not to their end.
TEST(JournalRecovery, UnsoundJournalsAreUndoneOnlyAsFarAsTheyAreSound) {
  struct Case {
    const char* what;
    std::string journalName;  // below ProgramData\TarnInstall unless it starts with "X:"
    std::vector<std::string> lines;
    std::string tail;  // appended after the lines, unterminated
    bool victimSurvives;
    bool stagedRemoved;
  };
  const auto rec = [](JournalKind kind, std::vector<std::string> fields) {
    return FormatJournalRecord({kind, std::move(fields)});
  };
  test::InstallScene t;
  const std::string victim = t.dir.Path("Docs\\letter.doc");
  const std::string app = t.dir.Path("App\\a.txt");
  const std::string staged = app + ".~TarnInstall123.new";
  const std::string begin = rec(JournalKind::Begin, {"77", "123", "1252"});
  const Case cases[] = {
      {"sound",
       "run.journal",
       {begin, rec(JournalKind::Staged, {staged}), rec(JournalKind::New, {app})},
       "",
       true,
       true},
      {"a target never staged is not touched",
       "run.journal",
       {begin, rec(JournalKind::New, {victim})},
       "",
       true,
       false},
      {"a relative step is refused",
       "run.journal",
       {begin,
        rec(JournalKind::Staged,
            {t.dir.Path("Docs\\..\\Docs\\letter.doc") + ".~TarnInstall123.new"}),
        rec(JournalKind::New, {t.dir.Path("Docs\\..\\Docs\\letter.doc")})},
       "",
       true,
       false},
      {"a staged name of another run is refused",
       "run.journal",
       {begin, rec(JournalKind::Staged, {victim + ".~TarnInstall999.new"}),
        rec(JournalKind::New, {victim})},
       "",
       true,
       false},
      {"records after a damaged line are ignored",
       "run.journal",
       {begin, rec(JournalKind::Staged, {staged}),
        "00000000 staged\t" + victim + ".~TarnInstall123.new\n", rec(JournalKind::New, {victim})},
       "",
       true,
       true},
      {"a record cut off at the end",
       "run.journal",
       {begin, rec(JournalKind::Staged, {staged})},
       rec(JournalKind::New, {victim}).substr(0, 20),
       true,
       true},
      {"a journal outside the journal folder",
       "X:Docs\\run.journal",
       {begin, rec(JournalKind::Staged, {victim + ".~TarnInstall123.new"}),
        rec(JournalKind::New, {victim})},
       "",
       true,
       false},
  };
  t.dir.MakeFolder("Docs");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    t.dir.MakeFolder("ProgramData\\TarnInstall");
    t.registry.PutString(RootKey::LocalMachine, kShellFolders, "Common AppData",
                         t.dir.Path("ProgramData"));
    t.dir.WriteFile("Docs\\letter.doc", "precious");
    t.dir.WriteFile("App\\a.txt", "new");
    t.dir.WriteFile("App\\a.txt.~TarnInstall123.new", "half");
    std::string journal;
    for (const auto& line : c.lines) journal += line;
    const std::string name = c.journalName.rfind("X:", 0) == 0
                                 ? c.journalName.substr(2)
                                 : "ProgramData\\TarnInstall\\" + c.journalName;
    t.dir.WriteFile(name, journal + c.tail);
    t.registry.PutString(RootKey::LocalMachine, kProduct, "InProgress", t.dir.Path(name));

    SetupSession next(t.Services(t.files));
    RecoverInterruptedInstallation(next);

    EXPECT_EQ(t.Read("Docs\\letter.doc"), c.victimSurvives ? "precious" : "<missing>");
    EXPECT_EQ(t.Read("App\\a.txt.~TarnInstall123.new"), c.stagedRemoved ? "<missing>" : "half");
    EXPECT_FALSE(t.registry.GetValue(RootKey::LocalMachine, kProduct, "InProgress"));
    t.dir.Remove("App\\a.txt.~TarnInstall123.new");
  }
}

TEST(JournalRecovery, AJournalWhoseProcessStillRunsIsLeftAlone) {
  test::InstallScene t;
  t.registry.PutString(RootKey::LocalMachine, kShellFolders, "Common AppData",
                       t.dir.Path("ProgramData"));
  const std::string app = t.dir.Path("App\\a.txt");
  t.dir.MakeFolder("ProgramData\\TarnInstall");
  t.dir.WriteFile("App\\a.txt", "being written");
  t.dir.WriteFile("ProgramData\\TarnInstall\\live.journal",
                  FormatJournalRecord({JournalKind::Begin, {"77", "123", "1252"}}) +
                      FormatJournalRecord({JournalKind::Staged, {app + ".~TarnInstall123.new"}}) +
                      FormatJournalRecord({JournalKind::New, {app}}));
  t.registry.PutString(RootKey::LocalMachine, kProduct, "InProgress",
                       t.dir.Path("ProgramData\\TarnInstall\\live.journal"));
  t.shell.running = {77};
  SetupSession next(t.Services(t.files));
  EXPECT_EQ(RecoverInterruptedInstallation(next).outcome, RecoveryReport::Outcome::StillRunning);
  EXPECT_EQ(t.Read("App\\a.txt"), "being written");
  EXPECT_TRUE(t.registry.GetValue(RootKey::LocalMachine, kProduct, "InProgress"));
}

}  // namespace
}  // namespace tarn::engine
