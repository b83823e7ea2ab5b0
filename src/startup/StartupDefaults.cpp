#include "startup/StartupDefaults.h"

#include "engine/actions/ProductKey.h"

#include "engine/actions/RegistryKey.h"
#include "project/TaskIds.h"
#include "text/ByteText.h"

namespace tarn::startup {

using engine::kProductKey;
using engine::RegistryKey;
using engine::SetupSession;

namespace {

using project::FieldName;
using project::SubTaskType;

std::string Setting(const SetupSession& s, FieldName name) {
  return s.Project.GetFieldValue(project::task::Properties, SubTaskType::GetAllVar, name);
}

}  // namespace

void ApplyStartupDefaults(SetupSession& s) {
  s.ProgramFolderPath = s.Project.GetFieldValue(project::task::Shortcuts, SubTaskType::GetValue,
                                                FieldName::Description);
  s.CompanyText = Setting(s, FieldName::CompanyDesc);
  s.ProductKey = kProductKey;
  s.ProvideForInstall = Setting(s, FieldName::ProvideForInstall);
  s.InstallDir = s.Expand(Setting(s, FieldName::InstallPath));

  RegistryKey key(s.System.registry, s.CodePage);
  std::string remembered;
  // Opening with creation leaves the key behind even when it only reads.
  if (key.OpenPath(s.ProductKey + "\\" + s.CompanyText + "\\" + s.Project.ProjectName(), true))
    remembered = key.QueryString("Path");
  if (remembered.empty() && key.OpenPath(s.ProductKey + "\\" + s.Project.ProjectName(), false))
    remembered = key.QueryString("Path");
  if (!remembered.empty()) s.InstallDir = remembered;
  key.Close();
}

void ApplySetupOptions(SetupSession& s, const SetupOptions& options) {
  if (options.installDir) s.InstallDir = *options.installDir;
  if (options.programFolder) s.ProgramFolderPath = *options.programFolder;
  s.Log.Line("Installation folder: " + text::Quoted(s.InstallDir) +
             (options.installDir ? " (from the command line)" : ""));
  s.Log.Line("Program folder: " + text::Quoted(s.ProgramFolderPath) +
             (options.programFolder ? " (from the command line)" : ""));
}

bool WantsAdPicture(const SetupSession& s) { return !Setting(s, FieldName::AdPicture).empty(); }

std::string AdPicturePath(SetupSession& s) {
  return s.StampedTempName(s.Expand("[TempFileDir]\\~TarnInstall-AdPicture.bmp"));
}

std::string PreInstallProgramPath(SetupSession& s) {
  return s.StampedTempName(s.Expand("[TempFileDir]\\~TarnInstall-ProvideForInstall.exe"));
}

}  // namespace tarn::startup
