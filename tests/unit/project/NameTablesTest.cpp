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

TEST(NameTables, EveryNameReadsBackAsItsValue) {
  for (int i = 0; i <= static_cast<int>(TaskType::InvalidType); ++i) {
    const auto type = static_cast<TaskType>(i);
    EXPECT_EQ(TaskTypeOf(TaskTypeName(type)), type) << i;
  }
  for (int i = 0; i <= static_cast<int>(SubTaskType::InvalidType); ++i) {
    const auto type = static_cast<SubTaskType>(i);
    EXPECT_EQ(SubTaskTypeOf(SubTaskTypeName(type)), type) << i;
  }
  for (int i = 0; i <= static_cast<int>(FieldName::InvalidField); ++i) {
    const auto name = static_cast<FieldName>(i);
    EXPECT_EQ(FieldNameOf(FieldNameText(name)), name) << i;
  }
}

TEST(NameTables, StoredValuesOfSubTaskTypesAndFields) {
  // The numbers are what other code stores; a shifted table would silently change meanings.
  const struct {
    const char* name;
    int value;
  } subTaskTypes[] = {{"RunApp", 0},    {"FolderList", 3},
                      {"GetAllVar", 4}, {"createshortcutmenu", 13},
                      {"Options", 14},  {"File List", 15}};
  for (const auto& c : subTaskTypes)
    EXPECT_EQ(static_cast<int>(SubTaskTypeOf(c.name)), c.value) << c.name;

  const struct {
    const char* name;
    int value;
  } fields[] = {{"PosX", 0},
                {"File", 9},
                {"ProjectName", 15},
                {"DiskSize", 19},
                {"OutPutPath", 22},
                {"PathDesc", 25},
                {"RegRootKey", 29},
                {"IsToDelete", 36},
                {"CreateUnInstall1", 41},
                {"IsToFileLinkGroup", 44},
                {"FileQty", 47},
                {"SpecExecDesc", 50}};
  for (const auto& c : fields) EXPECT_EQ(static_cast<int>(FieldNameOf(c.name)), c.value) << c.name;
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
