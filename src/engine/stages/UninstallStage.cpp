#include "engine/stages/UninstallStage.h"

#include "digest/Sha256.h"
#include "engine/actions/FileReplacement.h"
#include "engine/actions/ProductKey.h"
#include "engine/actions/RegistryKey.h"
#include "engine/actions/SharedFileCount.h"
#include "engine/actions/SharedFolders.h"
#include "engine/actions/Shortcuts.h"
#include "project/TaskIds.h"
#include "text/ByteText.h"
#include "text/PathParts.h"

namespace tarn::engine {

namespace {

using project::FieldName;
using project::LanguageKey;
using project::SubTaskType;

constexpr const char* kUninstallListKey =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

bool Option(const SetupSession& s, FieldName name) {
  return text::ParseDecimal32(s.Project.GetFieldValue(project::task::UninstallOptions,
                                                      SubTaskType::GetValue, name)) != 0;
}

std::string WithoutFinalBackslash(const std::string& path, std::uint32_t codePage) {
  return text::EndsWithBackslash(path, codePage) ? path.substr(0, path.size() - 1) : path;
}

std::string Property(const SetupSession& s, FieldName name) {
  return s.Project.GetFieldValue(project::task::Properties, SubTaskType::GetAllVar, name);
}

// The files this run put in place and that are still there (programs run once are gone).
std::vector<std::string> FilesInPlace(SetupSession& s, const std::string& uninstaller) {
  std::vector<std::string> files;
  for (const auto& path : s.WrittenFiles)
    if (path != uninstaller && s.System.files.Exists(path)) files.push_back(path);
  return files;
}

// KiB, rounded up, as the list of installed programs shows sizes.
std::uint32_t KibWritten(SetupSession& s, const std::vector<std::string>& files) {
  std::uint64_t bytes = 0;
  for (const auto& path : files) {
    if (const auto file = s.System.files.Open(path, platform::OpenMode::Read))
      bytes += file->Length().value_or(0);
  }
  const std::uint64_t kib = (bytes + 1023) / 1024;
  return kib > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(kib);
}

// The system's list of installed programs, and the record type opened by the uninstaller.
void RegisterWithSystem(SetupSession& s, const std::string& productTitle,
                        const std::string& uninstaller, const std::string& recordPath,
                        std::uint32_t sizeKib) {
  // Without a title the path would name the list's own key, shared by every program.
  if (!productTitle.empty()) {
    RegistryKey entry(s.System.registry, s.CodePage);
    if (entry.OpenPath(kUninstallListKey + productTitle, true)) {
      entry.SetString("DisplayName", productTitle);
      // Unquoted, as the separate uninstaller expects it.
      entry.SetString("UninstallString", uninstaller + " " + recordPath);
      // What the list's users look for besides: everything after "/S" is the record path.
      entry.SetString("QuietUninstallString", "\"" + uninstaller + "\" /S " + recordPath);
      entry.SetString("DisplayVersion", Property(s, FieldName::ProductVersion));
      entry.SetString("Publisher", Property(s, FieldName::CompanyDesc));
      entry.SetString("DisplayIcon", uninstaller + ",0");
      entry.SetString("InstallLocation", s.Expand("[InstallDir]"));
      entry.SetDword("EstimatedSize", sizeKib);
      entry.SetDword("NoModify", 1);
      entry.SetDword("NoRepair", 1);
    }
    entry.Close();
  }

  const std::string type = std::string("\\") + kRecordType;
  RegistryKey classes(s.System.registry, s.CodePage, platform::RootKey::ClassesRoot);
  if (classes.OpenPath(std::string("\\") + kRecordExtension, true))
    classes.SetString("", kRecordType);
  if (classes.OpenPath(type, true)) classes.SetString("", "Uninstall File");
  if (classes.OpenPath(type + "\\DefaultIcon", true)) classes.SetString("", uninstaller + ",0");
  if (classes.OpenPath(type + "\\Shell\\Open", true)) classes.SetString("", "");
  if (classes.OpenPath(type + "\\Shell\\Open\\Command", true))
    classes.SetExpandString("", "\"" + uninstaller + "\" %1");
  classes.Close();
}

}  // namespace

void RunUninstallStage(InstallRun& run) {
  SetupSession& s = run.Session();
  const std::string productTitle = s.Language.GetText(LanguageKey::ProjectName);
  const std::string uninstallTitle = s.Language.GetText(LanguageKey::UnInstallDesc) + productTitle;
  // Expanded whole, so that a drive root as the installation folder gives "C:\TarnUninstall".
  const std::string recordPath =
      s.Expand("[InstallDir]\\TarnUninstall " + productTitle + kRecordExtension);
  const std::string uninstaller = s.Expand(std::string("[Windows Directory]\\") + kUninstallerName);

  const bool registerWithSystem = Option(s, FieldName::CreateUnInstall1);
  const bool uninstallShortcut = Option(s, FieldName::CreateUnInstall2);
  const bool withRecord = registerWithSystem || uninstallShortcut;
  if (withRecord) {
    // A record is never left half-copied: the copy takes the old one's place only when whole,
    // and the old one is kept until the run is over, like any file the run replaces.
    const std::string staged = StagedName(s, recordPath);
    s.Journal.Staged(staged);
    if (s.System.files.CopyFileTo(s.ProjectCopyPath, staged, false))
      PutInPlace(s, staged, recordPath);
    else
      s.System.files.RemoveFile(staged);
  }

  if (run.CancelPoint()) return;

  const std::vector<std::string> written = FilesInPlace(s, uninstaller);
  if (withRecord) {
    // Only a removable installation counts its shared files: nobody else would ever uncount them.
    const SharedFolders shared = SharedFolders::ForRollBack(s);
    for (const auto& path : written)
      if (shared.Contain(path)) CountSharedFile(s, path, s.KeptCopies.count(path) != 0);
  }
  if (registerWithSystem)
    RegisterWithSystem(s, productTitle, uninstaller, recordPath, KibWritten(s, written));

  RegistryKey product(s.System.registry, s.CodePage);
  product.OpenPath(ProductKeyPath(s, true), true);
  product.SetString("ProgramFolder", WithoutFinalBackslash(s.ProgramFolderPath, s.CodePage));
  if (withRecord) {
    if (const auto record = platform::ReadWholeFile(s.System.files, recordPath))
      product.SetString(kRecordHash, digest::Sha256Hex(*record));
  }
  if (uninstallShortcut) {
    std::string linkPath;
    if (!s.ProgramFolderPath.empty()) {
      CreateShortcut(s, uninstallTitle, uninstaller, recordPath, "",
                     static_cast<std::int32_t>(ShortcutLocation::ProgramGroup), false, false, 0,
                     nullptr);
      // Recorded as ".lnk" while saved as ".Lnk": the same file, and what the uninstaller reads.
      linkPath = s.ProgramFolderPath + uninstallTitle + ".lnk";
    }
    product.SetString("UnInstallFileLink", linkPath);
  }
  product.Close();

  product.OpenPath(ProductKeyPath(s, false), true);
  product.SetString("Path", s.Expand("[InstallDir]"));
  product.SetString("Version", Property(s, FieldName::ProductVersion));
  product.Close();
}

}  // namespace tarn::engine
