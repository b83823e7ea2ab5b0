#include "engine/Programs.h"

#include <gtest/gtest.h>

#include "support/RecordingShell.h"

namespace tarn::engine {
namespace {

TEST(RunAndWait, QuotesThePathAndPassesTheExitCodeOn) {
  test::RecordingShell shell;
  shell.exitCode = 7;
  EXPECT_EQ(RunAndWait(shell, "C:\\Documents and Settings\\ann\\Temp\\pre.exe", 5), 7u);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].path, "\"C:\\Documents and Settings\\ann\\Temp\\pre.exe\"");
  EXPECT_EQ(shell.calls[0].showCommand, 5);
}

TEST(RunAndWait, AProgramThatCannotStartIsReported) {
  test::RecordingShell shell;
  shell.exitCode = std::nullopt;
  EXPECT_EQ(RunAndWait(shell, "C:\\missing.exe", 5), kStartFailed);
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[1].what, "message");
  EXPECT_EQ(shell.calls[1].path, "Create process failed");
  EXPECT_EQ(shell.calls[1].detail, "Error");
}

}  // namespace
}  // namespace tarn::engine
