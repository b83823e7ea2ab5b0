#include "engine/actions/Programs.h"

#include <gtest/gtest.h>

#include "support/FakeMachine.h"
#include "support/RecordingShell.h"

namespace tarn::engine {
namespace {

struct ProgramsTest : testing::Test, test::FakeMachine {
  Platform platform = Services();
};

TEST_F(ProgramsTest, RunsQuotedFromTheProgramsOwnFolderAndPassesTheExitCodeOn) {
  dir.MakeFolder("Temp Files");
  const std::string program = dir.Path("Temp Files\\pre.exe");
  shell.exitCode = 7;
  EXPECT_EQ(RunAndWait(platform, 1252, program, 5), 7u);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].path, "\"" + program + "\"");
  EXPECT_EQ(shell.calls[0].showCommand, 5);
  EXPECT_EQ(dir.Files().CurrentDirectory(), dir.Path("Temp Files"));
}

TEST_F(ProgramsTest, AProgramThatCannotStartOrWhosePathIsTooLongIsReported) {
  shell.exitCode = std::nullopt;
  EXPECT_EQ(RunAndWait(platform, 1252, "C:\\missing.exe", 5), kStartFailed);
  shell.exitCode = 0;
  EXPECT_EQ(RunAndWait(platform, 1252, "C:\\" + std::string(494, 'a') + ".exe", 5), kStartFailed);
  ASSERT_EQ(shell.calls.size(), 3u);  // one start, two messages: the long path never starts
  for (std::size_t i : {1u, 2u}) {
    EXPECT_EQ(shell.calls[i].what, "message");
    EXPECT_EQ(shell.calls[i].path, "Create process failed");
    EXPECT_EQ(shell.calls[i].detail, "Error");
  }
}

TEST(ProgramFolder, KeepsTheBackslashOfADriveRootOnlyAndSkipsTrailBytes) {
  const struct {
    std::string path;
    std::uint32_t codePage;
    std::string folder;
  } cases[] = {
      {"C:\\Program Files\\App\\app.exe", 1252, "C:\\Program Files\\App"},
      {"C:\\app.exe", 1252, "C:\\"},
      {"app.exe", 1252, ""},
      // Big5 0xB3 0x5C: the second byte is not a backslash.
      {"C:\\A\\\xB3\x5C.exe", 950, "C:\\A"},
  };
  for (const auto& c : cases) EXPECT_EQ(ProgramFolder(c.path, c.codePage), c.folder) << c.path;
}

TEST(StartCommand, RefusesALineOfFiveHundredCharacters) {
  test::RecordingShell shell;
  EXPECT_TRUE(StartCommand(shell, std::string(499, 'a'), 5));
  EXPECT_FALSE(StartCommand(shell, std::string(500, 'a'), 5));
  EXPECT_EQ(shell.calls.size(), 1u);
}

}  // namespace
}  // namespace tarn::engine
