#include "engine/actions/Shortcuts.h"

#include <string_view>

#include "engine/actions/FolderChain.h"
#include "engine/actions/ProductKey.h"
#include "project/TaskIds.h"
#include "text/ByteText.h"
#include "text/PathParts.h"

namespace tarn::engine {

namespace {

using project::FieldName;
using project::SubTask;
using project::SubTaskType;

constexpr std::string_view kWebPrefix = "HTTP://";
constexpr const char* kLinkExtension = ".Lnk";

std::string WorkingFolder(const std::string& target, std::uint32_t codePage) {
  if (IsWebAddress(target)) return "C:\\";
  return text::LinkFolderOf(target, codePage);
}

// The folder part of the shortcut's path, ending where the description starts; empty when
// the location writes nothing.
std::string LinkFolder(SetupSession& s, std::int32_t location, bool alternate) {
  switch (static_cast<ShortcutLocation>(location)) {
    case ShortcutLocation::Desktop:
      return s.Expand("[Desktop Directory]") + "\\";
    case ShortcutLocation::ProgramGroup:
      return s.ProgramFolderPath;
    case ShortcutLocation::Startup:
      return s.Expand("[Startup]") + "\\";
    case ShortcutLocation::QuickLaunch:
      // An unknown Quick Launch folder would put the link in the current folder.
      return alternate ? s.QuickLaunchDir1 : s.QuickLaunchDir2;
  }
  return {};
}

// The first value of `name` in the subtask; "" when it has none.
std::string Field(const SubTask& sub, FieldName name) {
  for (const auto& field : sub.Fields()) {
    if (field.Name() == name) return field.Value();
  }
  return {};
}

bool Flag(const SubTask& sub, FieldName name) {
  return text::ParseDecimal32(Field(sub, name)) != 0;
}

}  // namespace

ShortcutEntry ReadShortcutEntry(SetupSession& s, const SubTask& sub) {
  ShortcutEntry e;
  e.description = Field(sub, FieldName::Description);
  const std::string file = Field(sub, FieldName::File);
  e.target = IsWebAddress(file) ? file : s.Expand(Field(sub, FieldName::Folder) + "\\" + file);
  e.arguments = Field(sub, FieldName::Parameter);
  e.icon = s.Expand(Field(sub, FieldName::IconFile));
  e.toGroup = Flag(sub, FieldName::IsToFileLinkGroup);
  e.toDesktop = Flag(sub, FieldName::IsToDesktop);
  e.toStartup = Flag(sub, FieldName::IsToStartup);
  e.toQuickLaunch = Flag(sub, FieldName::IsToQuickLaunch);
  e.offeredAtFinish = Flag(sub, FieldName::IsSpecExec);
  return e;
}

std::vector<std::string> ShortcutFilesOf(SetupSession& s, const ShortcutEntry& e) {
  std::vector<std::string> files;
  const auto add = [&](ShortcutLocation location, bool alternate) {
    const std::string folder = LinkFolder(s, static_cast<std::int32_t>(location), alternate);
    if (!folder.empty()) files.push_back(folder + e.description + kLinkExtension);
  };
  if (e.toGroup) add(ShortcutLocation::ProgramGroup, false);
  if (e.toDesktop) add(ShortcutLocation::Desktop, false);
  if (e.toStartup) add(ShortcutLocation::Startup, false);
  if (e.toQuickLaunch) {
    add(ShortcutLocation::QuickLaunch, false);
    add(ShortcutLocation::QuickLaunch, true);
  }
  return files;
}

void CreateShortcutSet(SetupSession& s, const ShortcutEntry& e, RegistryKey* holder,
                       std::int32_t& counter) {
  const auto make = [&](ShortcutLocation location, bool alternate) {
    CreateShortcut(s, e.description, e.target, e.arguments, e.icon,
                   static_cast<std::int32_t>(location), alternate, holder != nullptr, counter,
                   holder);
    if (holder) ++counter;
  };
  if (e.toGroup) make(ShortcutLocation::ProgramGroup, false);
  if (e.toDesktop) make(ShortcutLocation::Desktop, false);
  if (e.toStartup) make(ShortcutLocation::Startup, false);
  if (e.toQuickLaunch) {
    // Where there is only one Quick Launch folder, one copy is made and numbered.
    if (!s.QuickLaunchDir2.empty()) make(ShortcutLocation::QuickLaunch, false);
    make(ShortcutLocation::QuickLaunch, true);
  }
}

bool IsWebAddress(const std::string& target) {
  return text::AsciiUpper(target).compare(0, kWebPrefix.size(), kWebPrefix) == 0;
}

void CreateShortcut(SetupSession& s, const std::string& description, const std::string& target,
                    const std::string& arguments, const std::string& iconFile,
                    std::int32_t location, bool alternate, bool record, std::int32_t index,
                    RegistryKey* holder) {
  const std::string folder = LinkFolder(s, location, alternate);
  if (folder.empty()) return;

  platform::ShellLink link;
  link.target = target;
  link.arguments = arguments;
  link.workingDirectory = WorkingFolder(target, s.CodePage);
  link.description = description;
  link.showCommand = platform::kShowShow;
  link.iconFile = iconFile;
  link.iconIndex = 0;

  // The user's own Quick Launch folder (the only one, on current systems) may not exist yet.
  if (static_cast<ShortcutLocation>(location) == ShortcutLocation::QuickLaunch &&
      s.QuickLaunchDir2.empty())
    CreateFolderChain(s.System.files, folder.substr(0, folder.size() - 1), s.CodePage);

  const std::string linkPath = folder + description + kLinkExtension;
  if (record && holder) holder->SetString("FileLink" + std::to_string(index), linkPath);
  // Listed before saving: a half-written file must go with the roll-back too.
  s.Project.InstalledFileList.push_back(linkPath);
  s.System.shell.CreateShellLink(link, linkPath);
}

void CreateFinishPageShortcuts(SetupSession& s,
                               const std::function<bool(const SubTask&)>& isTicked) {
  RegistryKey key(s.System.registry, s.CodePage);
  key.OpenPath(ProductKeyPath(s, true), true);
  std::int32_t counter = 0;
  if (const project::Task* task = s.Project.FindTask(project::task::Shortcuts)) {
    for (const SubTask& sub : task->SubTasks()) {
      if (sub.Type() != SubTaskType::CreateShortcutMenu) continue;
      const ShortcutEntry entry = ReadShortcutEntry(s, sub);
      if (entry.offeredAtFinish && isTicked(sub)) CreateShortcutSet(s, entry, &key, counter);
    }
  }
  key.SetDword("FileLinkCount", static_cast<std::uint32_t>(counter));
  key.Close();
}

std::int32_t FinishCheckBoxId(const SubTask& subTask) {
  // Unsigned arithmetic: an absurd ID wraps instead of overflowing.
  const auto id = static_cast<std::uint32_t>(text::ParseDecimal32(subTask.Id()));
  return static_cast<std::int32_t>(id * 3u);
}

}  // namespace tarn::engine
