#include "project/NameTables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarn::project {
namespace {

TEST(NameTables, TaskIdsMapBothWays) {
  const std::vector<std::string> ids = {
      "2401", "2002", "2003", "2004", "2005", "2006", "2007", "2008", "2009", "2010", "2402",
      "2403", "2404", "2405", "2409", "2406", "2410", "2407", "2408", "2411", "2412", "2413"};
  ASSERT_EQ(ids.size(), kTaskIdCount);
  for (std::size_t i = 0; i < ids.size(); ++i) {
    EXPECT_EQ(TaskIdOf(i), ids[i]) << i;
    EXPECT_EQ(TaskIndexOf(ids[i]), i) << ids[i];
  }
}

TEST(NameTables, UnknownTaskIdsHaveTheNoTaskIndex) {
  for (const char* id : {"2414", "", "2002 ", " 2002", "200", "24120", "2412\xB3"}) {
    EXPECT_EQ(TaskIndexOf(id), 22u) << '"' << id << '"';
  }
  EXPECT_EQ(TaskIdOf(22), "");
  EXPECT_EQ(TaskIdOf(1000), "");
}

TEST(NameTables, TaskTypesByNameIgnoreAsciiCase) {
  const struct {
    const char* name;
    TaskType type;
  } cases[] = {
      {"ShowDialogBox", TaskType::ShowDialogBox}, {"showdialogbox", TaskType::ShowDialogBox},
      {"DATASETTING", TaskType::DataSetting},     {"extractFiles", TaskType::ExtractFiles},
      {"InvalidType", TaskType::InvalidType},     {"", TaskType::InvalidType},
      {"ShowDialogBox ", TaskType::InvalidType},  {"Show DialogBox", TaskType::InvalidType},
  };
  for (const auto& c : cases) EXPECT_EQ(TaskTypeOf(c.name), c.type) << c.name;
}

TEST(NameTables, SubTaskTypesMapBothWays) {
  const std::vector<std::string> names = {
      "RunApp",     "GetValue",       "FileList",   "FolderList",         "GetAllVar",
      "ShowText",   "CreateCheckBox", "ShowBitmap", "ShowTopFrame",       "ShowSoftDoc",
      "ShowReadme", "EditBox",        "Registry",   "CreateShortcutMenu", "Options"};
  for (std::size_t i = 0; i < names.size(); ++i) {
    const auto type = static_cast<SubTaskType>(i);
    EXPECT_EQ(SubTaskTypeName(type), names[i]);
    EXPECT_EQ(SubTaskTypeOf(names[i]), type) << names[i];
  }
  EXPECT_EQ(SubTaskTypeOf("createshortcutmenu"), SubTaskType::CreateShortcutMenu);
  EXPECT_EQ(SubTaskTypeOf("FILELIST"), SubTaskType::FileList);
  EXPECT_EQ(SubTaskTypeOf("File List"), SubTaskType::InvalidType);
  EXPECT_EQ(static_cast<int>(SubTaskTypeOf("Folders")), 15);
}

TEST(NameTables, FieldNamesMapBothWays) {
  const std::vector<std::string> names = {"PosX",
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
                                          "SpecExecDesc"};
  ASSERT_EQ(names.size(), 51u);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const auto name = static_cast<FieldName>(i);
    EXPECT_EQ(FieldNameText(name), names[i]);
    EXPECT_EQ(FieldNameOf(names[i]), name) << names[i];
  }
}

TEST(NameTables, FieldNameLookupUpperCasesAsciiOnly) {
  const struct {
    const char* text;
    FieldName name;
  } cases[] = {
      {"posx", FieldName::PosX},
      {"pOSy", FieldName::PosY},
      {"OUTPUTPATH", FieldName::OutPutPath},
      {"createuninstall2", FieldName::CreateUnInstall2},
      {"File ", FieldName::InvalidField},
      {" File", FieldName::InvalidField},
      {"Files", FieldName::InvalidField},
      {"", FieldName::InvalidField},
      // Bytes above 0x7F are never folded onto ASCII letters.
      {"Fil\xC5", FieldName::InvalidField},
      {"\xB3\x5C", FieldName::InvalidField},
  };
  for (const auto& c : cases) EXPECT_EQ(FieldNameOf(c.text), c.name) << c.text;
}

TEST(NameTables, ValuesOutsideTheTablesHaveTheInvalidNames) {
  EXPECT_EQ(TaskTypeName(static_cast<TaskType>(4)), "InvalidType");
  EXPECT_EQ(TaskTypeName(static_cast<TaskType>(-1)), "InvalidType");
  EXPECT_EQ(SubTaskTypeName(static_cast<SubTaskType>(16)), "InvalidType");
  EXPECT_EQ(SubTaskTypeName(SubTaskType::InvalidType), "InvalidType");
  EXPECT_EQ(FieldNameText(static_cast<FieldName>(52)), "InvalidField");
  EXPECT_EQ(FieldNameText(static_cast<FieldName>(-7)), "InvalidField");
  EXPECT_EQ(FieldNameText(FieldName::InvalidField), "InvalidField");
}

}  // namespace
}  // namespace tarn::project
