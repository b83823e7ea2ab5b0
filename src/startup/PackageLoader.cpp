#include "startup/PackageLoader.h"

#include "engine/actions/QuickLaunch.h"
#include "engine/actions/RegistryKey.h"
#include "package/PackageEntry.h"
#include "package/RunStamp.h"
#include "project/OsClass.h"
#include "project/ProjectLoader.h"
#include "project/TaskIds.h"
#include "text/ByteText.h"

namespace tarn::startup {

using engine::ComputeQuickLaunchFolders;
using engine::QuickLaunchFolders;
using engine::RegistryKey;
using engine::SetupSession;

namespace {

using project::FieldName;
using project::SubTaskType;

package::CalendarTime ToCalendar(const platform::SystemTime& t) {
  return {t.year, t.month, t.day, t.hour, t.minute, t.second, t.milliseconds};
}

}  // namespace

void FindQuickLaunchFolders(SetupSession& s) {
  platform::SystemFacts& system = s.System.system;
  const project::OsClass os = project::GetOsClass(system);
  const bool windows9x = os == project::OsClass::Windows98 || os == project::OsClass::WindowsMe;
  std::string commonAppData;
  if (!windows9x) {
    RegistryKey key(s.System.registry, s.CodePage);
    if (key.OpenPath("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                     true))
      commonAppData = key.QueryString("Common AppData");
  }
  const QuickLaunchFolders folders = ComputeQuickLaunchFolders(
      windows9x, s.Expand("[Windows Directory]"), commonAppData, system.UserName(),
      windows9x ? std::string() : system.ComputerName(), system.UserAppDataDirectory().value_or(""),
      [&s](const std::string& folder) {
        return s.System.files.IsDirectory(folder.substr(0, folder.size() - 1));
      },
      s.CodePage);
  s.QuickLaunchDir1 = folders.first;
  s.QuickLaunchDir2 = folders.second;
}

bool LoadPackage(SetupSession& s) {
  s.RunStamp = package::MakeRunStamp(ToCalendar(s.System.clock.LocalTime()));
  s.ProjectCopyPath = s.Expand("[TempFileDir]\\TarnInstall" + s.RunStamp + ".xml");
  s.TempFileList.push_back(s.ProjectCopyPath);
  FindQuickLaunchFolders(s);

  const std::string setupPath = s.System.system.ModulePath();
  // A signed setup file keeps its trailer before the certificate table.
  std::optional<package::PackageTrailer> trailer;
  if (auto setup = s.System.files.Open(setupPath, platform::OpenMode::Read)) {
    if (const auto located = package::LocateSetupTrailer(*setup)) trailer = located->trailer;
  }
  const auto broken = [&s](const char* why) {
    s.Log.Line(std::string("The package cannot be loaded: ") + why);
    return false;
  };
  s.Log.Line("Setup file: " + text::Quoted(setupPath));
  if (!trailer) return broken("the setup file holds no package");

  package::PackageReader& reader = s.Reader;
  reader.SetTrailer(*trailer);
  if (!reader.OpenVolume(setupPath, false)) return broken("the setup file cannot be opened");
  reader.SetCapacity(static_cast<std::int64_t>(trailer->projectSize));
  reader.SetSpanning(false);
  // A failed extraction leaves no usable document, which loading the project then refuses.
  reader.ExtractEntry(s.ProjectCopyPath, static_cast<std::int64_t>(trailer->projectOffset),
                      static_cast<std::int64_t>(trailer->projectSize), false);
  reader.SetSpanning(true);
  if (!project::LoadProject(s.System.files, s.ProjectCopyPath, s.CodePage, s.Project))
    return broken("the installation project is damaged");

  // A volume capacity of zero or less cannot place any stream.
  const std::int64_t diskSize = text::ParseDecimal32(s.Project.GetFieldValue(
      project::task::Properties, SubTaskType::GetAllVar, FieldName::DiskSize));
  if (diskSize <= 0) return broken("the project gives no volume size");
  reader.SetCapacity(diskSize);

  s.Project.GetFieldValues(project::task::Extraction, SubTaskType::FileList, FieldName::File,
                           s.FileList);
  s.Project.GetFieldValues(project::task::Extraction, SubTaskType::FolderList, FieldName::Folder,
                           s.FolderList);
  if (s.FileList.empty()) return broken("the project lists no files");
  const auto language = package::PackageEntry::Parse(s.FileList.front(), s.Expander());
  if (!language || language->Kind() != package::EntryKind::Installer)
    return broken("the project names no language file");

  s.LanguageFilePath = s.StampedTempName(language->ExpandedTarget());
  const bool extracted = reader.ExtractEntry(s.LanguageFilePath, language->Offset(),
                                             language->CompressedSize(), false);
  if (!extracted) return broken("the language file cannot be extracted");
  s.TempFileList.push_back(s.LanguageFilePath);
  s.Language.Load(s.LanguageFilePath, s.System.files);
  s.Language.SetText(project::LanguageKey::ProjectName,
                     s.Project.ProjectName() + " " +
                         s.Project.GetFieldValue(project::task::Properties, SubTaskType::GetAllVar,
                                                 FieldName::ProductVersion));
  s.Log.Line("Package: project " +
             text::Quoted(s.Language.GetText(project::LanguageKey::ProjectName)) + ", volumes of " +
             std::to_string(diskSize) + " bytes, language " +
             text::Quoted(s.Language.LanguageCode()));
  return true;
}

bool ExtractInstallerFiles(SetupSession& s) {
  for (std::size_t i = 1; i < s.FileList.size(); ++i) {
    const auto entry = package::PackageEntry::Parse(s.FileList[i], s.Expander());
    if (!entry) return false;
    if (entry->Kind() != package::EntryKind::Installer) return true;
    const std::string target = s.StampedTempName(entry->ExpandedTarget());
    const bool ok = s.Reader.ExtractEntry(target, entry->Offset(), entry->CompressedSize(), false);
    s.TempFileList.push_back(target);
    if (!ok) {
      s.Log.Line("The package cannot be loaded: the installer file " + text::Quoted(target) +
                 " cannot be extracted");
      return false;
    }
  }
  return true;
}

}  // namespace tarn::startup
