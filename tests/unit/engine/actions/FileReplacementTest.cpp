// Files are replaced whole or not at all, and an abandoned installation gives the user's earlier
// files back: checked by failing each file operation of a small installation in turn.
#include "engine/actions/FileReplacement.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/InstallWorker.h"
#include "engine/actions/Cleanup.h"
#include "support/InstallScene.h"

namespace tarn::engine {
namespace {

namespace fs = std::filesystem;
using test::PackageStream;

const std::string kBig = [] {
  std::string bytes;
  std::uint32_t x = 7;
  for (int i = 0; i < 100000; ++i) bytes += static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
  return bytes;
}();

const std::vector<PackageStream> kStreams = {
    {"[InstallDir]\\old.txt", "A", "new text"},
    {"[InstallDir]\\new.txt", "A", "new file"},
    {"[InstallDir]\\keep.ini", "A", "defaults"},
    {"[InstallDir]\\data\\big.bin", "N", kBig},
    {"[Windows Directory]\\Tarn-UnInstall.exe", "U", "new uninstaller"},
};
const std::string kKeepList =
    test::Task("2413", test::Sub(test::Files({"[InstallDir]\\keep.ini"})));

// Earlier versions on the disk before each installation; gives the time stamp of old.txt, set
// well in the past.
fs::file_time_type PutEarlierFiles(test::InstallScene& t) {
  t.dir.WriteFile("App\\old.txt", "old text");
  t.dir.WriteFile("App\\keep.ini", "user settings");
  t.dir.WriteFile("WINDOWS\\Tarn-UnInstall.exe", "old uninstaller");
  const std::string old = t.dir.HostPath("App\\old.txt");
  fs::last_write_time(old, fs::last_write_time(old) - std::chrono::hours(24 * 400));
  return fs::last_write_time(old);
}

// Staged and kept files left anywhere in the scene.
std::vector<std::string> Leftovers(test::InstallScene& t) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(t.dir.HostPath(""))) {
    if (entry.path().filename().string().find(".~TarnInstall") != std::string::npos)
      found.push_back(entry.path().string());
  }
  return found;
}

void ExpectOneOf(test::InstallScene& t, const std::string& file, const std::string& before,
                 const std::string& after, const std::string& when) {
  const std::string now = t.Read(file);
  EXPECT_TRUE(now == before || now == after) << file << " " << when << ": " << now.substr(0, 40);
}

TEST(FileReplacement, EveryFailedOperationLeavesOldOrNewAndTheRollBackRestores) {
  int runs = 0;
  for (int n = 1;; ++n) {
    for (const bool abandon : {true, false}) {
      test::InstallScene t;
      const fs::file_time_type oldTime = PutEarlierFiles(t);
      ASSERT_TRUE(t.Load(kStreams, "5", kKeepList));
      t.host.writeErrorAnswers = {abandon};
      t.files.failAt = t.files.operations + n;
      const bool completed = RunInstallWorker(t.session, t.host) == 0;
      if (!t.files.failed) {
        EXPECT_GT(runs, 10) << "too few operations were tried";
        return;
      }
      ++runs;
      const std::string when = "failing operation " + std::to_string(n);
      ExpectOneOf(t, "App\\old.txt", "old text", "new text", when);
      ExpectOneOf(t, "App\\new.txt", "<missing>", "new file", when);
      ExpectOneOf(t, "App\\data\\big.bin", "<missing>", kBig, when);
      ExpectOneOf(t, "WINDOWS\\Tarn-UnInstall.exe", "old uninstaller", "new uninstaller", when);
      EXPECT_EQ(t.Read("App\\keep.ini"), "user settings") << when;

      t.files.failAt = 0;
      RunCleanup(t.session);
      if (completed) {
        // Answered No, or nothing to ask: the installation went on to its end.
        EXPECT_EQ(Leftovers(t), std::vector<std::string>{}) << when;
        continue;
      }
      EXPECT_EQ(t.Read("App\\old.txt"), "old text") << when;
      EXPECT_EQ(fs::last_write_time(t.dir.HostPath("App\\old.txt")), oldTime) << when;
      EXPECT_EQ(t.Read("App\\new.txt"), "<missing>") << when;
      EXPECT_EQ(t.Read("App\\data\\big.bin"), "<missing>") << when;
      EXPECT_EQ(t.Read("App\\keep.ini"), "user settings") << when;
      // The uninstaller is shared: a new one that made it stays.
      ExpectOneOf(t, "WINDOWS\\Tarn-UnInstall.exe", "old uninstaller", "new uninstaller", when);
      EXPECT_EQ(Leftovers(t), std::vector<std::string>{}) << when;
    }
  }
}

TEST(FileReplacement, ACompletedInstallationKeepsNoEarlierVersions) {
  test::InstallScene t;
  PutEarlierFiles(t);
  ASSERT_EQ(t.Install(kStreams, "5", kKeepList), 0);
  EXPECT_EQ(t.Read("App\\old.txt"), "new text");
  EXPECT_EQ(t.Read("App\\new.txt"), "new file");
  EXPECT_EQ(t.Read("App\\keep.ini"), "user settings");
  EXPECT_EQ(t.Read("WINDOWS\\Tarn-UnInstall.exe"), "new uninstaller");
  RunCleanup(t.session);
  EXPECT_EQ(Leftovers(t), std::vector<std::string>{});
  EXPECT_EQ(t.Read("App\\old.txt"), "new text");
}

}  // namespace
}  // namespace tarn::engine
