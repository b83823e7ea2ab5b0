// The uninstall record, the registry entries for the uninstaller and the uninstall shortcut,
// for every combination of the project's uninstall options.
#include "engine/stages/UninstallStage.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "digest/Sha256.h"
#include "project/TaskIds.h"
#include "support/FakeMachine.h"
#include "support/ProjectTasks.h"
#include "support/ScriptedInstallHost.h"

namespace tarn::engine {
namespace {

using platform::RegistryValueType;
using platform::RootKey;
using project::FieldName;
using project::SubTask;
using project::SubTaskType;

// A trail byte that looks like a backslash and a NUL: the copy must not care.
constexpr char kRecordText[] = "<InstallProject>\r\n\xB3\x5C\0end\r\n";
const std::string kRecordBytes(kRecordText, sizeof kRecordText - 1);
const std::string kUninstallEntry =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo 1.5";
const std::string kVersionKey = "SOFTWARE\\TarnSoft\\TarnInstall\\Acme\\Demo\\1.5";
const std::string kProductKey = "SOFTWARE\\TarnSoft\\TarnInstall\\Acme\\Demo";
const std::string kProgramFolder = "C:\\All Users\\Start Menu\\Programs\\Demo\\";

struct Options {
  std::optional<std::string> first;  // nothing: the project has no uninstall options task
  std::string second;
};

class UninstallRegistrationTest : public testing::Test, protected test::FakeMachine {
 protected:
  UninstallRegistrationTest() {
    dir.MakeFolder("Demo");
    dir.MakeFolder("WINDOWS");
    dir.MakeFolder("temp");
    dir.WriteFile("temp\\TarnInstall1.xml", kRecordBytes);
    system.windowsDirectory = dir.Path("WINDOWS");
    uninstaller = dir.Path("WINDOWS\\Tarn-UnInstall.exe");
    record = dir.Path("Demo\\TarnUninstall Demo 1.5.UCIP");
  }

  std::unique_ptr<SetupSession> MakeSession(const Options& options, const std::string& language) {
    auto s = std::make_unique<SetupSession>(Services());
    dir.WriteFile("lang.ini", "[Language=409]\r\n" + language);
    s->Language.Load(dir.Path("lang.ini"), dir.Files());
    s->InstallDir = dir.Path("Demo");
    s->ProjectCopyPath = dir.Path("temp\\TarnInstall1.xml");
    s->ProgramFolderPath = kProgramFolder;
    s->InstallRunning = true;

    s->Project.AddTask(test::ProductProperties("Acme", "Demo", "1.5"));
    if (options.first) {
      project::Task task(std::string(project::task::UninstallOptions),
                         project::TaskType::DataSetting, false);
      SubTask values("10001", SubTaskType::GetValue);
      values.AddField(FieldName::CreateUnInstall1, *options.first);
      values.AddField(FieldName::CreateUnInstall2, options.second);
      task.AddSubTask(values);
      s->Project.AddTask(task);
    }
    return s;
  }

  // The value's data as stored, or "<missing>".
  std::string Data(RootKey root, const std::string& path, const std::string& name,
                   RegistryValueType type = RegistryValueType::String) const {
    const auto value = registry.GetValue(root, path, name);
    if (!value) return "<missing>";
    EXPECT_EQ(value->type, type) << path << " " << name;
    return value->data;
  }

  static std::string Text(const std::string& text) { return text + '\0'; }

  const std::string kLanguage = "ProjectName=Demo 1.5\r\nUnInstallDesc=Uninstall \r\n";
  std::string uninstaller;
  std::string record;
};

TEST_F(UninstallRegistrationTest, WritesWhatEachOptionAsksFor) {
  struct Case {
    const char* what;
    Options options;
    bool programFolder;
  } cases[] = {
      {"both options", {"1", "1"}, true},
      {"system list only", {"1", "0"}, true},
      {"shortcut only", {"0", "1"}, true},
      {"neither", {"0", "0"}, true},
      {"no options task", {std::nullopt, ""}, true},
      {"shortcut without program folder", {"0", "1"}, false},
      {"both, any non-zero number, no program folder", {"-3", "12"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    registry = test::FakeRegistry();
    shell.calls.clear();
    dir.Remove("Demo\\TarnUninstall Demo 1.5.UCIP");
    auto s = MakeSession(c.options, kLanguage);
    if (!c.programFolder) s->ProgramFolderPath.clear();
    const bool first = c.options.first && *c.options.first != "0";
    const bool second = c.options.first && c.options.second != "0";
    // Files this run wrote: the product's own, a shared one, and the uninstaller (not counted).
    dir.MakeFolder("WINDOWS\\system32");
    dir.WriteFile("Demo\\a.exe", std::string(2000, 'a'));
    dir.WriteFile("WINDOWS\\system32\\x.dll", std::string(49, 'x'));
    dir.WriteFile("WINDOWS\\Tarn-UnInstall.exe", std::string(5000, 'u'));
    s->WrittenFiles = {dir.Path("Demo\\a.exe"), dir.Path("WINDOWS\\system32\\x.dll"), uninstaller,
                       dir.Path("Demo\\gone.exe")};
    test::ScriptedInstallHost host;
    InstallRun run(*s, host);

    RunUninstallStage(run);

    EXPECT_TRUE(host.statuses.empty());
    std::string copied;
    EXPECT_EQ(dir.ReadFile("Demo\\TarnUninstall Demo 1.5.UCIP", copied), first || second);
    if (first || second) {
      EXPECT_EQ(copied, kRecordBytes);
    }

    const RootKey lm = RootKey::LocalMachine, cr = RootKey::ClassesRoot;
    if (first) {
      EXPECT_EQ(Data(lm, kUninstallEntry, "DisplayName"), Text("Demo 1.5"));
      EXPECT_EQ(Data(lm, kUninstallEntry, "UninstallString"), Text(uninstaller + " " + record));
      EXPECT_EQ(Data(lm, kUninstallEntry, "QuietUninstallString"),
                Text("\"" + uninstaller + "\" /S " + record));
      EXPECT_EQ(Data(lm, kUninstallEntry, "DisplayVersion"), Text("1.5"));
      EXPECT_EQ(Data(lm, kUninstallEntry, "Publisher"), Text("Acme"));
      EXPECT_EQ(Data(lm, kUninstallEntry, "DisplayIcon"), Text(uninstaller + ",0"));
      EXPECT_EQ(Data(lm, kUninstallEntry, "InstallLocation"), Text(dir.Path("Demo")));
      // 2049 bytes written by this run: three KiB, rounded up.
      EXPECT_EQ(Data(lm, kUninstallEntry, "EstimatedSize", RegistryValueType::Dword),
                std::string("\3\0\0\0", 4));
      EXPECT_EQ(Data(lm, kUninstallEntry, "NoModify", RegistryValueType::Dword),
                std::string("\1\0\0\0", 4));
      EXPECT_EQ(Data(lm, kUninstallEntry, "NoRepair", RegistryValueType::Dword),
                std::string("\1\0\0\0", 4));
      EXPECT_EQ(Data(cr, ".UCIP", ""), Text("TarnUnInstall"));
      EXPECT_EQ(Data(cr, "TarnUnInstall", ""), Text("Uninstall File"));
      EXPECT_EQ(Data(cr, "TarnUnInstall\\DefaultIcon", ""), Text(uninstaller + ",0"));
      EXPECT_TRUE(registry.HasKey(cr, "TarnUnInstall\\Shell"));
      EXPECT_EQ(Data(cr, "TarnUnInstall\\Shell", ""), "<missing>");
      EXPECT_EQ(Data(cr, "TarnUnInstall\\Shell\\Open", ""), Text(""));
      EXPECT_EQ(
          Data(cr, "TarnUnInstall\\Shell\\Open\\Command", "", RegistryValueType::ExpandString),
          Text("\"" + uninstaller + "\" %1"));
    } else {
      EXPECT_FALSE(registry.HasKey(lm, kUninstallEntry));
      EXPECT_FALSE(registry.HasKey(cr, ".UCIP"));
      EXPECT_FALSE(registry.HasKey(cr, "TarnUnInstall"));
    }

    EXPECT_EQ(Data(lm, kVersionKey, "RecordHash"),
              first || second ? Text(digest::Sha256Hex(kRecordBytes)) : "<missing>");
    // A shared file is counted only by a removable installation; one of the product's own never.
    const std::string shared = dir.Path("WINDOWS\\system32\\x.dll");
    const auto count =
        registry.GetValue(lm, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", shared);
    EXPECT_EQ(count ? count->data : "<missing>",
              first || second ? std::string("\1\0\0\0", 4) : "<missing>");
    EXPECT_FALSE(registry.GetValue(lm, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                                   dir.Path("Demo\\a.exe")));
    EXPECT_EQ(Data(lm, kVersionKey, "ProgramFolder"),
              Text(c.programFolder ? "C:\\All Users\\Start Menu\\Programs\\Demo" : ""));
    EXPECT_EQ(Data(lm, kProductKey, "Path"), Text(dir.Path("Demo")));
    EXPECT_EQ(Data(lm, kProductKey, "Version"), Text("1.5"));

    const bool shortcut = second && c.programFolder;
    if (!second) {
      EXPECT_EQ(Data(lm, kVersionKey, "UnInstallFileLink"), "<missing>");
    } else {
      EXPECT_EQ(Data(lm, kVersionKey, "UnInstallFileLink"),
                Text(shortcut ? kProgramFolder + "Uninstall Demo 1.5.lnk" : ""));
    }
    ASSERT_EQ(shell.calls.size(), shortcut ? 1u : 0u);
    if (shortcut) {
      const auto& link = shell.calls[0].link;
      EXPECT_EQ(shell.calls[0].path, kProgramFolder + "Uninstall Demo 1.5.Lnk");
      EXPECT_EQ(link.target, uninstaller);
      EXPECT_EQ(link.arguments, record);
      EXPECT_EQ(link.iconFile, "");
      EXPECT_EQ(link.workingDirectory, dir.Path("WINDOWS"));
      EXPECT_EQ(link.description, "Uninstall Demo 1.5");
      EXPECT_EQ(s->Project.InstalledFileList,
                std::vector<std::string>{kProgramFolder + "Uninstall Demo 1.5.Lnk"});
    }
    EXPECT_EQ(registry.OpenHandles(), 0);
  }
}

TEST_F(UninstallRegistrationTest, AbandonedAfterTheCopyWritesNothingMore) {
  auto s = MakeSession({"1", "1"}, kLanguage);
  test::ScriptedInstallHost host;
  host.abortAnswers = {true};
  s->CancelRequested = true;
  InstallRun run(*s, host);

  RunUninstallStage(run);

  std::string copied;
  ASSERT_TRUE(dir.ReadFile("Demo\\TarnUninstall Demo 1.5.UCIP", copied));
  EXPECT_EQ(copied, kRecordBytes);
  EXPECT_EQ(host.questions.size(), 1u);
  EXPECT_FALSE(s->InstallRunning);
  EXPECT_EQ(registry.KeysCreated(), 0);
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST_F(UninstallRegistrationTest, WithoutAProductTitleTheSharedListKeyStaysUntouched) {
  auto s = MakeSession({"1", "0"}, "UnInstallDesc=Uninstall \r\n");
  test::ScriptedInstallHost host;
  InstallRun run(*s, host);

  RunUninstallStage(run);

  const std::string list = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  EXPECT_EQ(Data(RootKey::LocalMachine, list, "DisplayName"), "<missing>");
  EXPECT_EQ(Data(RootKey::LocalMachine, list, "UninstallString"), "<missing>");
  EXPECT_EQ(Data(RootKey::ClassesRoot, ".UCIP", ""), Text("TarnUnInstall"));
  EXPECT_TRUE(dir.Exists("Demo\\TarnUninstall .UCIP"));
  EXPECT_EQ(registry.OpenHandles(), 0);
}

}  // namespace
}  // namespace tarn::engine
