#pragma once
// The fixed name tables that give tasks, subtasks and fields their meaning. The numeric values
// are what the rest of the program stores and compares; the names are what documents carry.
// Every lookup by name upper-cases the ASCII letters only, so double-byte text is left intact.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarn::project {

enum class TaskType : std::int32_t {
  ShowDialogBox = 0,
  DataSetting = 1,
  ExtractFiles = 2,
  InvalidType = 3,
};

enum class SubTaskType : std::int32_t {
  RunApp = 0,
  GetValue = 1,
  FileList = 2,
  FolderList = 3,
  GetAllVar = 4,
  ShowText = 5,
  CreateCheckBox = 6,
  ShowBitmap = 7,
  ShowTopFrame = 8,
  ShowSoftDoc = 9,
  ShowReadme = 10,
  EditBox = 11,
  Registry = 12,
  CreateShortcutMenu = 13,
  Options = 14,
  InvalidType = 15,
};

enum class FieldName : std::int32_t {
  PosX = 0,
  PosY = 1,
  Width = 2,
  Height = 3,
  SoftwareSize = 4,
  DefaultValue = 5,
  IsWide = 6,
  Subject = 7,
  Description = 8,
  File = 9,
  Folder = 10,
  AppParameter = 11,
  FileType = 12,
  Content = 13,
  IsShow = 14,
  ProjectName = 15,
  InstallPath = 16,
  CompanyDesc = 17,
  ProductVersion = 18,
  DiskSize = 19,
  TopFramePicture = 20,
  AdPicture = 21,
  OutPutPath = 22,
  UnInstallEx = 23,
  Language = 24,
  PathDesc = 25,
  PathValue = 26,
  ProvideForInstall = 27,
  AppFileIcon = 28,
  RegRootKey = 29,
  RegSubKey = 30,
  RegVarName = 31,
  RegVarValue = 32,
  RegDataType = 33,
  RegOperType = 34,
  IsOnlyToKey = 35,
  IsToDelete = 36,
  Parameter = 37,
  RetValue = 38,
  Checked = 39,
  ComList = 40,
  CreateUnInstall1 = 41,
  CreateUnInstall2 = 42,
  IconFile = 43,
  IsToFileLinkGroup = 44,
  IsToDesktop = 45,
  IsToStartup = 46,
  FileQty = 47,
  IsToQuickLaunch = 48,
  IsSpecExec = 49,
  SpecExecDesc = 50,
  InvalidField = 51,
};

// Task IDs by the index that pages and the worker use to name a task.
constexpr std::size_t kTaskIdCount = 22;
// The index of every ID outside the table, including further IDs such as "2414".
constexpr std::size_t kNoTaskIndex = 22;

// "" for an index outside the table.
std::string TaskIdOf(std::size_t index);
// Case-insensitive; kNoTaskIndex when nothing matches.
std::size_t TaskIndexOf(std::string_view id);

// Names for values outside the tables are the Invalid names.
std::string TaskTypeName(TaskType type);
std::string SubTaskTypeName(SubTaskType type);
std::string FieldNameText(FieldName name);

// Case-insensitive; the Invalid value when nothing matches.
TaskType TaskTypeOf(std::string_view name);
SubTaskType SubTaskTypeOf(std::string_view name);
FieldName FieldNameOf(std::string_view text);

}  // namespace tarn::project
