#include "support/ShortcutScene.h"

#include "project/TaskIds.h"
#include "support/ProjectTasks.h"

namespace tarn::test {

namespace {

using platform::RootKey;
using project::FieldName;
using project::SubTask;
using project::SubTaskType;
using Shortcut = ShortcutScene::Shortcut;

SubTask ShortcutSubTask(const Shortcut& c) {
  SubTask sub(c.id, SubTaskType::CreateShortcutMenu);
  const auto flag = [&](char letter) {
    return std::string(c.flags.find(letter) != std::string::npos ? "1" : "0");
  };
  sub.AddField(FieldName::Description, c.description);
  sub.AddField(FieldName::File, c.file);
  sub.AddField(FieldName::Folder, "[InstallDir]\\bin");
  sub.AddField(FieldName::Parameter, "-" + c.id);
  sub.AddField(FieldName::IconFile, "[InstallDir]\\" + c.id + ".ico");
  sub.AddField(FieldName::IsToFileLinkGroup, flag('g'));
  sub.AddField(FieldName::IsToDesktop, flag('d'));
  sub.AddField(FieldName::IsToStartup, flag('s'));
  // Any decimal other than 0 counts as set.
  sub.AddField(FieldName::IsToQuickLaunch, c.flags.find('q') != std::string::npos ? "2" : "0");
  sub.AddField(FieldName::IsSpecExec, flag('x'));
  return sub;
}

}  // namespace

ShortcutScene::ShortcutScene() {
  AddShellFolders();
  dir.WriteFile("lang.ini", "[Language=409]\r\nCreateFileLinkDesc=Creating shortcuts\r\n");
}

void ShortcutScene::AddShellFolders() {
  registry.PutString(RootKey::LocalMachine, kShellFolders, "Common Programs",
                     "C:\\All Users\\Start Menu\\Programs");
  registry.PutString(RootKey::LocalMachine, kShellFolders, "Common Startup",
                     "C:\\Elsewhere\\Autostart");
}

std::unique_ptr<engine::SetupSession> ShortcutScene::MakeSession(
    const std::vector<Shortcut>& shortcuts) {
  auto s = std::make_unique<engine::SetupSession>(Services());
  s->Language.Load(dir.Path("lang.ini"), dir.Files());
  s->InstallDir = "C:\\Program Files\\Demo";
  s->ProgramFolderPath = kGroup;
  s->QuickLaunchDir1 = kQuick1;
  s->QuickLaunchDir2 = kQuick2;
  s->InstallRunning = true;

  s->Project.AddTask(ProductProperties("Acme", "Demo", "1.5"));

  project::Task task(std::string(project::task::Shortcuts), project::TaskType::DataSetting, false);
  SubTask folder("10001", SubTaskType::GetValue);
  folder.AddField(FieldName::Description, "Demo");
  task.AddSubTask(folder);
  for (const auto& c : shortcuts) task.AddSubTask(ShortcutSubTask(c));
  s->Project.AddTask(task);
  return s;
}

std::vector<std::string> ShortcutScene::LinkPaths() const {
  std::vector<std::string> paths;
  for (const auto& call : shell.calls) {
    if (call.what == "link") paths.push_back(call.path);
  }
  return paths;
}

}  // namespace tarn::test
