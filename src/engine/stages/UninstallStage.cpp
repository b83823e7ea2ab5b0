#include "engine/stages/UninstallStage.h"

#include "engine/actions/FileReplacement.h"
#include "engine/actions/ProductKey.h"
#include "engine/actions/RegistryKey.h"
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

// The system's list of installed programs, and the record type opened by the uninstaller.
void RegisterWithSystem(SetupSession& s, const std::string& productTitle,
                        const std::string& uninstaller, const std::string& recordPath) {
  // Without a title the path would name the list's own key, shared by every program.
  if (!productTitle.empty()) {
    RegistryKey entry(s.System.registry, s.CodePage);
    if (entry.OpenPath(kUninstallListKey + productTitle, true)) {
      entry.SetString("DisplayName", productTitle);
      // Unquoted, as the separate uninstaller expects it.
      entry.SetString("UninstallString", uninstaller + " " + recordPath);
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
  if (registerWithSystem || uninstallShortcut) {
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

  if (registerWithSystem) RegisterWithSystem(s, productTitle, uninstaller, recordPath);

  RegistryKey product(s.System.registry, s.CodePage);
  product.OpenPath(ProductKeyPath(s, true), true);
  product.SetString("ProgramFolder", WithoutFinalBackslash(s.ProgramFolderPath, s.CodePage));
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
  product.SetString("Version",
                    s.Project.GetFieldValue(project::task::Properties, SubTaskType::GetAllVar,
                                            FieldName::ProductVersion));
  product.Close();
}

}  // namespace tarn::engine
