// Installing products with the real setup stages and removing them again with the uninstaller,
// on one machine of fakes: what goes, what stays for another product, what waits for the
// restart, and records that are refused before anything is touched.
#include "uninstall/Uninstallation.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "digest/Sha256.h"
#include "support/ProductInstaller.h"

namespace tarn::uninstall {
namespace {

using platform::RegistryValueType;
using platform::RootKey;
using test::Files;
using test::Product;
using test::Sub;
using test::Task;

const std::string kSharedDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::string kTarnKey = "SOFTWARE\\TarnSoft\\TarnInstall";

std::string Options() {
  return Task("2410", Sub("<CreateUnInstall1>1</CreateUnInstall1>\r\n"
                          "<CreateUnInstall2>1</CreateUnInstall2>\r\n"));
}

std::string Deleted(const std::string& name, const std::string& toDelete) {
  return Sub(test::Registry(name, "[InstallDir]") + "<IsToDelete>" + toDelete + "</IsToDelete>\r\n",
             "Registry");
}

Product Demo() {
  return {"Demo",
          "1.5",
          "App",
          {{"[InstallDir]\\app.exe", "A", "program"},
           {"[InstallDir]\\data\\raw.bin", "N", "stored"},
           {"[InstallDir]\\comp.dll", "A", "component"},
           {"[InstallDir]\\setup-step.exe", "L", "runs once"},
           {"[InstallDir]\\settings.txt", "R", "REGEDIT4\r\n"},
           {"[Windows Directory]\\Tarn-UnInstall.exe", "U", "uninstaller"},
           {"[System Directory]\\shared.dll", "A", "shared by both"},
           {"[System Directory]\\old.dll", "A", "newer old"}},
          Task("2405", Sub(Files({"[InstallDir]\\comp.dll"}))) +
              Task("2406", Deleted("Folder", "1") + Deleted("Kept", "0")) + Options()};
}

Product Other() {
  return {"Other",
          "2.0",
          "Other App",
          {{"[InstallDir]\\other.exe", "A", "other program"},
           {"[Windows Directory]\\Tarn-UnInstall.exe", "U", "uninstaller"},
           {"[System Directory]\\shared.dll", "A", "shared by both"}},
          Options()};
}

class UninstallTest : public testing::Test {
 protected:
  UninstallTest() {
    // What every system has before any product comes.
    t.registry.AddKey(RootKey::LocalMachine, kSharedDlls);
    t.registry.AddKey(RootKey::LocalMachine,
                      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    t.registry.AddKey(RootKey::CurrentUser, "Software");
    t.dir.WriteFile("WINDOWS\\system32\\old.dll", "somebody's old");
    // The setup file stays where it was run from; the installation folder is the wizard's.
    t.dir.WriteFile("setup\\Setup.exe", "");
    t.dir.Remove("App");
  }

  // The uninstaller's run from its command line's record to its exit status; -1 when refused.
  int Remove(const std::string& record) {
    engine::SetupSession s{t.Services(held)};
    Uninstallation run(s, services);
    run.LoadTexts();
    if (!run.Prepare(record)) {
      refusal = run.Refusal();
      return -1;
    }
    test::RecordingUninstallHost host;
    const int status = run.Remove(host, t.dir.Path("WINDOWS\\Tarn-UnInstall.exe"));
    EXPECT_EQ(host.progress.empty() ? -1 : host.progress.back(), 100);
    return status;
  }

  // What the next start of the system does with the removals left for it.
  void Restart() {
    held.held.clear();
    for (const auto& path : services.atRestart) {
      if (!t.dir.Files().RemoveFile(path)) t.dir.Files().RemoveEmptyDirectory(path);
    }
    services.atRestart.clear();
  }

  std::uint32_t Count(const std::string& file) {
    const auto value = t.registry.GetValue(RootKey::LocalMachine, kSharedDlls, t.dir.Path(file));
    if (!value || value->type != RegistryValueType::Dword || value->data.size() != 4) return 0;
    return static_cast<unsigned char>(value->data[0]);
  }

  static std::vector<std::string> Difference(const std::vector<std::string>& a,
                                             const std::vector<std::string>& b) {
    std::vector<std::string> out;
    std::set_symmetric_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
  }

  test::InstallScene t;
  test::HeldFileSystem held{t.dir.Files()};
  test::FakeRemovalServices services;
  std::string refusal;
};

TEST_F(UninstallTest, TwoProductsSharingFilesAreRemovedOneAfterTheOther) {
  const auto before = test::Snapshot(t);
  ASSERT_EQ(test::InstallProduct(t, Demo()), 0);
  ASSERT_EQ(test::InstallProduct(t, Other()), 0);
  EXPECT_EQ(Count("WINDOWS\\system32\\shared.dll"), 2u);
  // It was there before, uncounted: its first owner keeps a count of its own.
  EXPECT_EQ(Count("WINDOWS\\system32\\old.dll"), 2u);
  const auto entry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo 1.5";
  EXPECT_TRUE(t.registry.GetValue(RootKey::LocalMachine, entry, "QuietUninstallString"));

  // The uninstaller runs from the Windows folder: its own file is in use.
  held.held.insert(text::AsciiUpper(t.dir.Path("WINDOWS\\Tarn-UnInstall.exe")));
  EXPECT_EQ(Remove(test::RecordOf(t, Demo())), kExitRemoved) << refusal;
  EXPECT_FALSE(t.dir.Exists("App"));
  EXPECT_FALSE(t.dir.Exists("Start Menu\\Programs\\Demo Programs"));
  EXPECT_EQ(t.Read("WINDOWS\\system32\\shared.dll"), "shared by both");
  EXPECT_EQ(Count("WINDOWS\\system32\\shared.dll"), 1u);
  EXPECT_EQ(Count("WINDOWS\\system32\\old.dll"), 1u);
  // Still needed by the other product: the uninstaller, its texts and its record type.
  EXPECT_EQ(t.Read("WINDOWS\\Tarn-UnInstall.exe"), "uninstaller");
  EXPECT_TRUE(t.dir.Exists("WINDOWS\\system32\\TarnInstall\\409.ini"));
  EXPECT_TRUE(t.registry.HasKey(RootKey::ClassesRoot, "TarnUnInstall\\Shell\\Open\\Command"));
  EXPECT_TRUE(t.registry.GetValue(RootKey::LocalMachine, kTarnKey, "LastVersion"));
  EXPECT_FALSE(t.registry.HasKey(RootKey::LocalMachine, kTarnKey + "\\Acme\\Demo"));
  EXPECT_TRUE(t.registry.HasKey(RootKey::LocalMachine, kTarnKey + "\\Acme\\Other\\2.0"));
  EXPECT_FALSE(t.registry.HasKey(RootKey::LocalMachine, entry));
  // Components are unregistered while their files are still there.
  const auto runs = t.ShellCalls("run");
  ASSERT_FALSE(runs.empty());
  EXPECT_EQ(runs.back(), t.dir.Path("WINDOWS\\system32") + "\\Regsvr32.exe /u /s \"" +
                             t.dir.Path("App\\comp.dll") + "\"");
  EXPECT_TRUE(services.atRestart.empty());
  // Only the value it was asked to delete goes; the key keeps the other one.
  EXPECT_FALSE(t.registry.GetValue(RootKey::CurrentUser, "Software\\Demo", "Folder"));
  EXPECT_TRUE(t.registry.GetValue(RootKey::CurrentUser, "Software\\Demo", "Kept"));

  EXPECT_EQ(Remove(test::RecordOf(t, Other())), kExitRemoved) << refusal;
  // The running uninstaller went aside, to be removed at the restart.
  ASSERT_EQ(services.atRestart.size(), 1u);
  EXPECT_FALSE(t.dir.Exists("WINDOWS\\Tarn-UnInstall.exe"));
  EXPECT_FALSE(t.dir.Exists("WINDOWS\\system32\\shared.dll"));
  EXPECT_EQ(t.Read("WINDOWS\\system32\\old.dll"), "newer old");
  Restart();

  // What is left: the old file's own count, and the registry value the record keeps.
  const std::vector<std::string> expected = {
      "key 2\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\SHAREDDLLS (0 values)",
      "key 2\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\SHAREDDLLS (1 values)",
      "key 1\\SOFTWARE\\DEMO (1 values)",
  };
  auto difference = Difference(before, test::Snapshot(t));
  std::sort(difference.begin(), difference.end());
  auto sorted = expected;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(difference, sorted);
}

TEST_F(UninstallTest, AFileInUseGoesAtTheRestart) {
  const auto before = test::Snapshot(t);
  ASSERT_EQ(test::InstallProduct(t, Other()), 0);
  held.held.insert(text::AsciiUpper(t.dir.Path("Other App\\other.exe")));

  EXPECT_EQ(Remove(test::RecordOf(t, Other())), kExitRestartCompletes) << refusal;
  EXPECT_FALSE(t.dir.Exists("Other App\\other.exe"));
  EXPECT_TRUE(t.dir.Exists("Other App\\other.exe.~TarnUnInstall1.del"));
  ASSERT_EQ(services.atRestart.size(), 2u);
  EXPECT_EQ(services.atRestart[0], t.dir.Path("Other App\\other.exe.~TarnUnInstall1.del"));
  EXPECT_EQ(services.atRestart[1], t.dir.Path("Other App"));
  Restart();
  EXPECT_EQ(Difference(before, test::Snapshot(t)), std::vector<std::string>{});
}

TEST_F(UninstallTest, RefusesRecordsItCannotTrustAndRemovesNothing) {
  ASSERT_EQ(test::InstallProduct(t, Demo()), 0);
  const std::string record = test::RecordOf(t, Demo());
  std::string original;
  ASSERT_TRUE(t.dir.ReadFile(record, original));
  const std::string versionKey = kTarnKey + "\\Acme\\Demo\\1.5";
  const auto rehash = [&](const std::string& text) {
    t.dir.WriteFile(record, text);
    t.registry.PutString(RootKey::LocalMachine, versionKey, "RecordHash", digest::Sha256Hex(text));
  };
  const auto retarget = [&](const std::string& target) {
    std::string text = original;
    const std::string from = "[InstallDir]\\app.exe";
    text.replace(text.find(from), from.size(), target);
    rehash(text);
  };
  const struct {
    const char* what;
    std::function<void()> spoil;
    std::string path;
    const char* reason;
  } cases[] = {
      {"a changed byte", [&] { t.dir.WriteFile(record, original + " "); }, record, "changed"},
      {"no record there", [] {}, t.dir.Path("App\\TarnUninstall Gone.UCIP"), "cannot be read"},
      {"no hash",
       [&] { t.registry.PutString(RootKey::LocalMachine, versionKey, "RecordHash", ""); }, record,
       "not registered"},
      {"not a project", [&] { rehash("<html>\r\n"); }, record, "not a project"},
      {"a parent folder", [&] { retarget("[InstallDir]\\..\\..\\x.txt"); }, record, "outside"},
      {"a network path", [&] { retarget("\\\\server\\share\\x.txt"); }, record, "outside"},
      {"another drive", [&] { retarget("Q:\\Other\\x.txt"); }, record, "outside"},
      {"a relative path", [&] { retarget("x.txt"); }, record, "outside"},
  };
  const auto installed = test::Snapshot(t);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.spoil();
    const auto spoiled = test::Snapshot(t);
    EXPECT_EQ(Remove(c.path), -1);
    EXPECT_NE(refusal.find(c.reason), std::string::npos) << refusal;
    EXPECT_EQ(test::Snapshot(t), spoiled);
    // Only the program the installation ran once: no component was unregistered.
    EXPECT_EQ(t.ShellCalls("run").size(), 1u);
    rehash(original);
  }
  EXPECT_EQ(test::Snapshot(t), installed);
  EXPECT_EQ(Remove(record), kExitRemoved) << refusal;
}

}  // namespace
}  // namespace tarn::uninstall
