#include "engine/actions/RegistryOperations.h"

#include <gtest/gtest.h>

#include "support/FakeClock.h"
#include "support/FakeRegistry.h"
#include "support/FakeSystemFacts.h"
#include "support/RecordingShell.h"
#include "support/ScratchFolder.h"

namespace tarn::engine {
namespace {

using platform::RegistryValueType;
using platform::RootKey;

// Fields written as the project names them: "RegSubKey=\Software\App".
project::SubTask MakeSubTask(std::initializer_list<std::string> fields) {
  project::SubTask subTask("1", project::SubTaskType::Registry);
  for (const auto& field : fields) {
    const std::size_t eq = field.find('=');
    subTask.AddField(project::FieldNameOf(field.substr(0, eq)), field.substr(eq + 1));
  }
  return subTask;
}

std::string Typed(RegistryValueType type, const std::string& data) {
  return std::to_string(static_cast<std::uint32_t>(type)) + ":" + data;
}
std::string Sz(const std::string& text) { return Typed(RegistryValueType::String, text + '\0'); }
const std::string kNone = "(none)";

// The type and bytes of a stored value, or kNone.
std::string Stored(const test::FakeRegistry& registry, RootKey root, const std::string& key,
                   const std::string& name) {
  const auto value = registry.GetValue(root, key, name);
  return value ? Typed(value->type, value->data) : kNone;
}

struct RegistryOperationsTest : testing::Test {
  test::FakeRegistry registry{950};
  test::FakeSystemFacts system;
  test::FakeClock clock;
  test::RecordingShell shell;
  test::ScratchFolder dir;
  std::string installDir = "C:\\Program Files\\App";
  project::PathContext paths{installDir, system, registry};
};

TEST_F(RegistryOperationsTest, SubTasksWriteAndDeleteAsTheirFieldsSay) {
  const std::string app = "RegSubKey=\\Software\\App";
  struct Case {
    project::SubTask subTask;
    std::string overrideValue, key, name;
    bool keyExists;
    std::string expected;
  } cases[] = {
      // Missing numbers count as 0: write a string.
      {MakeSubTask({app, "RegVarName=S", "RegVarValue=[InstallDir]\\app.exe -x"}), "",
       "Software\\App", "S", true, Sz("C:\\Program Files\\App\\app.exe -x")},
      {MakeSubTask({app, "RegVarName=D", "RegVarValue=12abc", "RegDataType=1", "RegOperType=0"}),
       "", "Software\\App", "D", true, Typed(RegistryValueType::Dword, {"\x0C\0\0\0", 4})},
      {MakeSubTask({app, "RegVarName=B", "RegVarValue=01 0A ff", "RegDataType=2"}), "",
       "Software\\App", "B", true, Typed(RegistryValueType::Binary, "\x01\x0A\xFF")},
      {MakeSubTask({app, "RegVarName=U", "RegVarValue=x", "RegDataType=3"}), "", "Software\\App",
       "U", true, kNone},
      {MakeSubTask({app, "RegVarName=K", "RegVarValue=x", "IsOnlyToKey=1"}), "", "Software\\App",
       "K", true, kNone},
      {MakeSubTask({"RegSubKey=\\First", app, "RegVarName=a", "RegVarName=R", "RegVarValue=1",
                    "RegVarValue=2", "RegDataType=1", "RegDataType=0"}),
       "", "Software\\App", "R", true, Sz("2")},
      {MakeSubTask({app, "RegVarName=O", "RegVarValue=stored"}), "[InstallDir]", "Software\\App",
       "O", true, Sz("C:\\Program Files\\App")},
      {MakeSubTask({"RegSubKey=\\Software\\Old\\Empty", "RegOperType=1", "IsOnlyToKey=1"}), "",
       "Software\\Old\\Empty", "", false, kNone},
      {MakeSubTask({"RegSubKey=\\Software\\Old", "RegVarName=gone", "RegOperType=1"}), "",
       "Software\\Old", "gone", true, kNone},
      {MakeSubTask({"RegSubKey=\\New", "RegVarName=v", "RegVarValue=x", "RegOperType=2"}), "",
       "New", "v", false, kNone},
  };
  for (const auto& c : cases) {
    test::FakeRegistry fresh;
    fresh.PutString(RootKey::LocalMachine, "Software\\Old", "gone", "x");
    fresh.AddKey(RootKey::LocalMachine, "Software\\Old\\Empty");
    {
      RegistryKey holder(fresh, 1252);
      ExecuteRegistrySubTask(holder, c.subTask, c.overrideValue, {installDir, system, fresh});
    }
    EXPECT_EQ(fresh.HasKey(RootKey::LocalMachine, c.key), c.keyExists) << c.key << " " << c.name;
    EXPECT_EQ(Stored(fresh, RootKey::LocalMachine, c.key, c.name), c.expected) << c.name;
    EXPECT_EQ(fresh.OpenHandles(), 0);
  }
}

TEST_F(RegistryOperationsTest, ARootCarriesOverToLaterSubTasksOnTheSameHolder) {
  RegistryKey holder(registry, 1252);
  ExecuteRegistrySubTask(
      holder, MakeSubTask({"RegRootKey=hkey_users", "RegSubKey=\\S\\One", "RegVarName=a"}), "",
      paths);
  ExecuteRegistrySubTask(holder, MakeSubTask({"RegSubKey=\\S\\Two", "RegVarName=b"}), "", paths);
  EXPECT_EQ(Stored(registry, RootKey::Users, "S\\One", "a"), Sz(""));
  EXPECT_EQ(Stored(registry, RootKey::Users, "S\\Two", "b"), Sz(""));
  EXPECT_FALSE(registry.HasKey(RootKey::LocalMachine, "S"));
}

TEST_F(RegistryOperationsTest, ImportsARegistryTextFile) {
  system.ansiCodePage = 950;  // Big5: 0xB3 0x5C is one character
  SetupSession session(Platform{dir.Files(), registry, system, clock, shell});
  ImportRegistryTextFile(session, dir.Path("missing.txt"));
  EXPECT_EQ(registry.KeysCreated(), 0);

  const std::string longValue(600, 'x');
  std::string file =
      "REGEDIT4\r\n\r\n\"before\"=\"any key\"\r\n[HKEY_LOCAL_MACHINE\\Software\\A\\B]\r\n";
  file += "\"long\"=\"" + longValue + "\"\r\n";
  file +=
      "\"lf\"=\"only LF\"\n"
      "\"quoted\"=\"say \"hi\"\"\r\n"
      "junk line\r\n\x01\x02\xFF\"\r\nx\"lead\"=\"y\"\r\n"
      "\"open\"=\"no end\r\n\"noequals\" \"x\"\r\n"
      "[hkey_local_machine\\Software\\Lower]\r\n\"lost1\"=\"x\"\r\n"
      "[HKEY_NOWHERE\\Software\\A\\B]\r\n\"lost2\"=\"x\"\r\n"
      "[HKEY_LOCAL_MACHINE]\r\n\"lost3\"=\"x\"\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Open\r\n\"lost4\"=\"x\"\r\n"
      // The final byte 0x5D is the second half of a Big5 character, not a "]".
      "[HKEY_LOCAL_MACHINE\\Software\\\xA4]\r\n\"lost5\"=\"x\"\r\n"
      "[HKEY_CURRENT_USER\\Software\\\xB3\x5C]\r\n\"big5\"=\"\xB3\x5C\xA4\x40\"\r\n"
      "\"last\"=\"end\"";
  dir.WriteFile("data.txt", file);
  ImportRegistryTextFile(session, dir.Path("data.txt"));

  const std::string b = "Software\\A\\B";
  EXPECT_EQ(Stored(registry, RootKey::LocalMachine, b, "long"), Sz(longValue));
  EXPECT_EQ(Stored(registry, RootKey::LocalMachine, b, "lf"), Sz("only LF"));
  EXPECT_EQ(Stored(registry, RootKey::LocalMachine, b, "quoted"), Sz("say \"hi\""));
  for (const char* ignored :
       {"before", "open", "noequals", "lead", "lost1", "lost2", "lost3", "lost4", "lost5"})
    EXPECT_EQ(Stored(registry, RootKey::LocalMachine, b, ignored), kNone) << ignored;
  const std::string big5Key = "Software\\\xB3\x5C";
  EXPECT_EQ(Stored(registry, RootKey::CurrentUser, big5Key, "big5"), Sz("\xB3\x5C\xA4\x40"));
  EXPECT_EQ(Stored(registry, RootKey::CurrentUser, big5Key, "last"), Sz("end"));
  // Software, A, B below one root, Software and the Big5 key below the other: nothing else.
  EXPECT_EQ(registry.KeysCreated(), 5);
  EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST_F(RegistryOperationsTest, RegFilesGoQuotedToTheRegistryEditor) {
  system.windowsDirectory = "C:\\My Windows";
  SetupSession session(Platform{dir.Files(), registry, system, clock, shell});
  session.InstallDir = installDir;
  ImportRegFilesWithEditor(session,
                           {"[InstallDir]\\setup.reg", "C:\\app.exe", "C:\\noext", "C:\\a.reg.txt",
                            "C:\\Data Files\\more.REG", "C:\\" + std::string(470, 'a') + ".reg"});
  const std::string editor = "\"C:\\My Windows\\Regedit.exe\" -s ";
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[0].what, "start");
  EXPECT_EQ(shell.calls[0].path, editor + "\"C:\\Program Files\\App\\setup.reg\"");
  EXPECT_EQ(shell.calls[0].showCommand, platform::kShowShow);
  EXPECT_EQ(shell.calls[1].path, editor + "\"C:\\Data Files\\more.REG\"");
}

}  // namespace
}  // namespace tarn::engine
