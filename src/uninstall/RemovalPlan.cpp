#include "uninstall/RemovalPlan.h"

#include <algorithm>

#include "engine/actions/ProductKey.h"
#include "engine/actions/RegistryKey.h"
#include "engine/actions/SharedFolders.h"
#include "engine/actions/Shortcuts.h"
#include "engine/stages/UninstallStage.h"
#include "package/PackageEntry.h"
#include "project/TaskIds.h"
#include "text/ByteText.h"
#include "text/PathParts.h"
#include "uninstall/TargetCheck.h"

namespace tarn::uninstall {

namespace {

using engine::SetupSession;
using package::EntryKind;
using project::FieldName;
using project::SubTaskType;

class Planner {
 public:
  Planner(SetupSession& s, RemovalServices& services)
      : s_(s), services_(services), allowed_(s), shared_(engine::SharedFolders::ForRollBack(s)) {}

  // A path to be removed, checked; false (and noted) when it lies outside.
  bool Inside(const std::string& path) {
    if (allowed_.FolderOf(path)) return true;
    plan.outside.push_back(path);
    return false;
  }

  PlannedPath Planned(const std::string& path) {
    PlannedPath planned{path, shared_.Contain(path), {}};
    if (allowed_.BehindReparsePoint(path, services_))
      planned.keptBecause = "it lies behind a reparse point";
    return planned;
  }

  void Components() {
    std::vector<std::string> files;
    s_.Project.GetFieldValues(project::task::Components, SubTaskType::GetValue, FieldName::File,
                              files);
    for (const auto& file : files) {
      const std::string ext = text::AsciiUpper(text::FileExtension(file, s_.CodePage));
      if (ext != "OCX" && ext != "DLL" && ext != "AX") continue;
      const std::string path = s_.Expand(file);
      if (Inside(path)) plan.components.push_back(path);
    }
  }

  void Shortcuts() {
    std::vector<std::string> links;
    if (const project::Task* task = s_.Project.FindTask(project::task::Shortcuts)) {
      for (const auto& sub : task->SubTasks()) {
        if (sub.Type() != SubTaskType::CreateShortcutMenu) continue;
        const engine::ShortcutEntry entry = engine::ReadShortcutEntry(s_, sub);
        if (entry.offeredAtFinish) continue;
        for (auto& link : engine::ShortcutFilesOf(s_, entry)) links.push_back(std::move(link));
      }
    }
    engine::RegistryKey key(s_.System.registry, s_.CodePage);
    if (key.OpenPath(engine::ProductKeyPath(s_, true), false)) {
      const std::uint32_t count = key.QueryDword("FileLinkCount");
      for (std::uint32_t i = 0; i < count && i < 4096; ++i) {
        const std::string link = key.QueryString("FileLink" + std::to_string(i));
        if (!link.empty()) links.push_back(link);
      }
      const std::string uninstallLink = key.QueryString("UnInstallFileLink");
      if (!uninstallLink.empty()) links.push_back(uninstallLink);
    }
    for (const auto& link : links) {
      if (!Inside(link) || Listed(plan.shortcuts, link)) continue;
      PlannedPath planned = Planned(link);
      planned.shared = false;
      plan.shortcuts.push_back(planned);
    }
  }

  void Files(const std::string& recordPath) {
    std::vector<std::string> lines;
    s_.Project.GetFieldValues(project::task::Extraction, SubTaskType::FileList, FieldName::File,
                              lines);
    for (const auto& line : lines) {
      const auto entry = package::PackageEntry::Parse(line, s_.Expander());
      if (!entry || entry->Target().empty()) continue;
      const std::string& path = entry->ExpandedTarget();
      switch (entry->Kind()) {
        case EntryKind::Installer:
        case EntryKind::RunAndDelete:
        case EntryKind::RegistryImport:
          // Installer files lived in the temporary folder; the others were deleted after use.
          continue;
        case EntryKind::Uninstaller:
          plan.uninstaller = path;
          continue;
        default:
          break;
      }
      if (Inside(path) && !Listed(plan.files, path)) plan.files.push_back(Planned(path));
    }
    if (Inside(recordPath)) {
      PlannedPath record = Planned(recordPath);
      record.shared = false;
      plan.files.push_back(record);
    }
  }

  void Folders() {
    std::vector<std::string> folders;
    s_.Project.GetFieldValues(project::task::Extraction, SubTaskType::FolderList, FieldName::Folder,
                              folders);
    std::vector<std::string> paths;
    for (const auto& folder : folders) {
      // The setup put the program group in the place of the Start Menu entry.
      if (text::EqualsIgnoreAsciiCase(folder, "[Start Menu]\\")) continue;
      paths.push_back(WithoutFinalBackslash(s_.Expand(folder)));
    }
    AddChain(paths, s_.InstallDir, "[Program Files]");
    if (!s_.ProgramFolderPath.empty()) AddChain(paths, s_.ProgramFolderPath, "[Start Menu]");
    for (const auto& path : paths) {
      if (!Inside(path) || IsSystemFolder(path)) continue;
      if (std::none_of(plan.folders.begin(), plan.folders.end(),
                       [&](const std::string& f) { return text::EqualsIgnoreAsciiCase(f, path); }))
        plan.folders.push_back(path);
    }
    const auto depth = [this](const std::string& path) {
      std::size_t n = 0;
      for (std::size_t at = 0; (at = text::FindChar(path, '\\', s_.CodePage, at)) != text::npos;
           ++at)
        ++n;
      return n;
    };
    std::stable_sort(
        plan.folders.begin(), plan.folders.end(),
        [&](const std::string& a, const std::string& b) { return depth(a) > depth(b); });
  }

  void Registry() {
    AddRegistry(project::task::RegistryOperations, SubTaskType::Registry);
    AddRegistry(project::task::UserInfoPage, SubTaskType::EditBox);
  }

  RemovalPlan plan;

 private:
  static bool Listed(const std::vector<PlannedPath>& list, const std::string& path) {
    return std::any_of(list.begin(), list.end(), [&](const PlannedPath& p) {
      return text::EqualsIgnoreAsciiCase(p.path, path);
    });
  }

  std::string WithoutFinalBackslash(std::string path) const {
    while (path.size() > 3 && text::EndsWithBackslash(path, s_.CodePage)) path.pop_back();
    return path;
  }

  // Folders the system gave, never the product's own.
  bool IsSystemFolder(const std::string& path) {
    for (const char* token : {"[Program Files]", "[Windows Directory]", "[System Directory]",
                              "[Desktop Directory]", "[TempFileDir]", "[Start Menu]", "[Startup]"})
      if (text::EqualsIgnoreAsciiCase(WithoutFinalBackslash(s_.Expand(token)), path)) return true;
    return path.size() <= 3;
  }

  // `folder` and the folders between it and the system folder `token` stands for, which the
  // setup made on the way.
  void AddChain(std::vector<std::string>& paths, const std::string& folder, const char* token) {
    const std::string top = WithoutFinalBackslash(s_.Expand(token));
    std::string current = WithoutFinalBackslash(folder);
    paths.push_back(current);
    if (top.size() <= 3) return;
    while (current.size() > top.size() + 1 &&
           text::EqualsIgnoreAsciiCase(std::string_view(current).substr(0, top.size() + 1),
                                       top + "\\")) {
      current = text::FolderOf(current, s_.CodePage, 3);
      if (current.size() > top.size()) paths.push_back(current);
    }
  }

  void AddRegistry(std::string_view taskId, SubTaskType type) {
    const project::Task* task = s_.Project.FindTask(taskId);
    if (!task) return;
    engine::RegistryKey roots(s_.System.registry, s_.CodePage);
    for (const auto& sub : task->SubTasks()) {
      if (sub.Type() != type) continue;
      RegistryItem item;
      bool toDelete = false, writes = true;
      for (const auto& field : sub.Fields()) {
        switch (field.Name()) {
          case FieldName::RegRootKey:
            roots.SetRootByName(field.Value());
            break;
          case FieldName::RegSubKey:
            item.key = field.Value();
            break;
          case FieldName::RegVarName:
            item.value = field.Value();
            break;
          case FieldName::RegOperType:
            writes = text::ParseDecimal32(field.Value()) == 0;
            break;
          case FieldName::IsOnlyToKey:
            item.keyOnly = text::ParseDecimal32(field.Value()) != 0;
            break;
          case FieldName::IsToDelete:
            toDelete = text::ParseDecimal32(field.Value()) == 1;
            break;
          default:
            break;
        }
      }
      item.root = roots.Root();
      // Only what the installation wrote, and never a root key itself.
      if (toDelete && writes && item.key.find_first_not_of('\\') != std::string::npos)
        plan.registry.push_back(item);
    }
  }

  SetupSession& s_;
  RemovalServices& services_;
  AllowedFolders allowed_;
  engine::SharedFolders shared_;
};

}  // namespace

RemovalPlan PlanRemoval(SetupSession& s, RemovalServices& services, const std::string& recordPath) {
  Planner planner(s, services);
  planner.Components();
  planner.Shortcuts();
  planner.Files(recordPath);
  planner.Folders();
  planner.Registry();
  return std::move(planner.plan);
}

}  // namespace tarn::uninstall
