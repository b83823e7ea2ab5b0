// The worker's shortcut stage, on a session built from fakes.
#include "engine/stages/ShortcutStage.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "engine/stages/InstallRun.h"
#include "support/ScriptedInstallHost.h"
#include "support/ShortcutScene.h"

namespace tarn::engine {
namespace {

using platform::RootKey;

class ShortcutStageTest : public testing::Test, protected test::ShortcutScene {};

TEST_F(ShortcutStageTest, MakesEachSubtasksSetInOrderAndStopsWhenAbandoned) {
  const std::vector<Shortcut> shortcuts = {
      {"10002", "App", "app.exe", "gdsq"},
      {"10003", "Offered", "extra.exe", "dx"},
      {"10004", "Site", "hTTp://example.org", "d"},
  };
  struct Case {
    const char* what;
    std::deque<bool> answers;  // nothing: Cancel is never pressed
    std::size_t links;
    bool running;
  } cases[] = {
      {"no cancel", {}, 6, true},
      {"cancel declined", {false}, 6, true},
      {"cancel confirmed after the first shortcut", {true}, 5, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    shell.calls.clear();
    auto s = MakeSession(shortcuts);
    test::ScriptedInstallHost host;
    host.abortAnswers = c.answers;
    s->CancelRequested = !c.answers.empty();
    InstallRun run(*s, host);

    RunShortcutStage(run);

    EXPECT_EQ(host.statuses, std::vector<std::string>{"Creating shortcuts"});
    EXPECT_EQ(host.questions.size(), c.answers.size());
    EXPECT_EQ(s->InstallRunning, c.running);
    if (c.running) {
      EXPECT_FALSE(s->CancelRequested);
    }
    const std::vector<std::string> all = {kGroup + "App.Lnk",   kDesktop + "App.Lnk",
                                          kStartup + "App.Lnk", kQuick2 + "App.Lnk",
                                          kQuick1 + "App.Lnk",  kDesktop + "Site.Lnk"};
    const std::vector<std::string> expected(all.begin(), all.begin() + c.links);
    EXPECT_EQ(LinkPaths(), expected);
    EXPECT_EQ(s->Project.InstalledFileList, expected);
    for (std::size_t i = 0; i < c.links; ++i) {
      const auto& link = shell.calls[i].link;
      if (i < 5) {
        EXPECT_EQ(link.target, "C:\\Program Files\\Demo\\bin\\app.exe");
        EXPECT_EQ(link.arguments, "-10002");
        EXPECT_EQ(link.iconFile, "C:\\Program Files\\Demo\\10002.ico");
      } else {
        EXPECT_EQ(link.target, "hTTp://example.org");
        EXPECT_EQ(link.workingDirectory, "C:\\");
      }
    }
  }
  // Nothing is recorded in the registry by the stage.
  EXPECT_FALSE(registry.HasKey(RootKey::LocalMachine, "SOFTWARE\\TarnSoft"));
}

TEST_F(ShortcutStageTest, WithoutShortcutTaskOnlyShowsItsStatus) {
  SetupSession s(Services());
  s.Language.Load(dir.Path("lang.ini"), dir.Files());
  test::ScriptedInstallHost host;
  InstallRun run(s, host);
  RunShortcutStage(run);
  EXPECT_EQ(host.statuses, std::vector<std::string>{"Creating shortcuts"});
  EXPECT_TRUE(shell.calls.empty());
}

}  // namespace
}  // namespace tarn::engine
