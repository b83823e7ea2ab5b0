#include "project/NameTables.h"

#include <array>

#include "text/ByteText.h"

namespace tarn::project {
namespace {

constexpr std::array<const char*, kTaskIdCount> kTaskIds = {
    "2401", "2002", "2003", "2004", "2005", "2006", "2007", "2008", "2009", "2010", "2402",
    "2403", "2404", "2405", "2409", "2406", "2410", "2407", "2408", "2411", "2412", "2413",
};

// Each table ends with its Invalid name, which is also the value of the last enumerator.
constexpr std::array<const char*, 4> kTaskTypeNames = {"ShowDialogBox", "DataSetting",
                                                       "ExtractFiles", "InvalidType"};

constexpr std::array<const char*, 16> kSubTaskTypeNames = {
    "RunApp",         "GetValue",           "FileList",     "FolderList",  "GetAllVar",  "ShowText",
    "CreateCheckBox", "ShowBitmap",         "ShowTopFrame", "ShowSoftDoc", "ShowReadme", "EditBox",
    "Registry",       "CreateShortcutMenu", "Options",      "InvalidType"};

constexpr std::array<const char*, 52> kFieldNames = {"PosX",
                                                     "PosY",
                                                     "Width",
                                                     "Height",
                                                     "SoftwareSize",
                                                     "DefaultValue",
                                                     "IsWide",
                                                     "Subject",
                                                     "Description",
                                                     "File",
                                                     "Folder",
                                                     "AppParameter",
                                                     "FileType",
                                                     "Content",
                                                     "IsShow",
                                                     "ProjectName",
                                                     "InstallPath",
                                                     "CompanyDesc",
                                                     "ProductVersion",
                                                     "DiskSize",
                                                     "TopFramePicture",
                                                     "AdPicture",
                                                     "OutPutPath",
                                                     "UnInstallEx",
                                                     "Language",
                                                     "PathDesc",
                                                     "PathValue",
                                                     "ProvideForInstall",
                                                     "AppFileIcon",
                                                     "RegRootKey",
                                                     "RegSubKey",
                                                     "RegVarName",
                                                     "RegVarValue",
                                                     "RegDataType",
                                                     "RegOperType",
                                                     "IsOnlyToKey",
                                                     "IsToDelete",
                                                     "Parameter",
                                                     "RetValue",
                                                     "Checked",
                                                     "ComList",
                                                     "CreateUnInstall1",
                                                     "CreateUnInstall2",
                                                     "IconFile",
                                                     "IsToFileLinkGroup",
                                                     "IsToDesktop",
                                                     "IsToStartup",
                                                     "FileQty",
                                                     "IsToQuickLaunch",
                                                     "IsSpecExec",
                                                     "SpecExecDesc",
                                                     "InvalidField"};

static_assert(static_cast<std::size_t>(TaskType::InvalidType) + 1 == kTaskTypeNames.size());
static_assert(static_cast<std::size_t>(SubTaskType::InvalidType) + 1 == kSubTaskTypeNames.size());
static_assert(static_cast<std::size_t>(FieldName::InvalidField) + 1 == kFieldNames.size());

template <typename Enum, std::size_t N>
std::string NameIn(const std::array<const char*, N>& names, Enum value) {
  const auto index = static_cast<std::int64_t>(value);
  if (index < 0 || index >= static_cast<std::int64_t>(N)) return names[N - 1];
  return names[static_cast<std::size_t>(index)];
}

// The Invalid entry itself takes part in the search, so "invalidtype" maps to InvalidType:
// both ways of reading it give the same value.
template <typename Enum, std::size_t N>
Enum ValueIn(const std::array<const char*, N>& names, std::string_view name) {
  for (std::size_t i = 0; i < N; ++i) {
    if (text::EqualsIgnoreAsciiCase(name, names[i])) return static_cast<Enum>(i);
  }
  return static_cast<Enum>(N - 1);
}

}  // namespace

std::string TaskIdOf(std::size_t index) { return index < kTaskIdCount ? kTaskIds[index] : ""; }

std::size_t TaskIndexOf(std::string_view id) {
  for (std::size_t i = 0; i < kTaskIdCount; ++i) {
    if (text::EqualsIgnoreAsciiCase(id, kTaskIds[i])) return i;
  }
  return kNoTaskIndex;
}

std::string TaskTypeName(TaskType type) { return NameIn(kTaskTypeNames, type); }
std::string SubTaskTypeName(SubTaskType type) { return NameIn(kSubTaskTypeNames, type); }
std::string FieldNameText(FieldName name) { return NameIn(kFieldNames, name); }

TaskType TaskTypeOf(std::string_view name) { return ValueIn<TaskType>(kTaskTypeNames, name); }
SubTaskType SubTaskTypeOf(std::string_view name) {
  return ValueIn<SubTaskType>(kSubTaskTypeNames, name);
}
FieldName FieldNameOf(std::string_view text) { return ValueIn<FieldName>(kFieldNames, text); }

}  // namespace tarn::project
