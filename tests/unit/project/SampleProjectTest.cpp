// The sample document under tests/data is a whole project as the builder writes it (GBK text,
// every settings task, pages, registry, shortcuts, a file list with every kind of entry).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "package/PackageEntry.h"
#include "platform/FileSystem.h"
#include "project/ProjectLoader.h"
#include "text/ByteText.h"

namespace tarn::project {
namespace {

constexpr const char* kSamplePath = TARN_TEST_DATA "/project/sample-project.xml";
// "样例软件" in GBK.
constexpr const char* kSampleName = "\xD1\xF9\xC0\xFD\xC8\xED\xBC\xFE";

class SampleProject : public ::testing::Test {
 protected:
  void SetUp() override {
    fileSystem_ = platform::MakeSystemFileSystem();
    ASSERT_TRUE(LoadProject(*fileSystem_, kSamplePath, text::kCodePageGbk, project_));
  }

  std::vector<std::string> Values(const char* task, SubTaskType type, FieldName name) const {
    std::vector<std::string> values;
    project_.GetFieldValues(task, type, name, values);
    return values;
  }

  std::unique_ptr<platform::FileSystem> fileSystem_;
  InstallProject project_;
};

TEST_F(SampleProject, TasksInDocumentOrder) {
  const std::vector<std::string> ids = {"2401", "2002", "2003", "2004", "2005", "2006",
                                        "2007", "2008", "2009", "2010", "2402", "2403",
                                        "2404", "2405", "2409", "2406", "2410", "2407",
                                        "2408", "2411", "2413", "2414", "2412"};
  ASSERT_EQ(project_.TaskCount(), ids.size());
  for (std::size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(project_.TaskAt(i).Id(), ids[i]);
  EXPECT_EQ(TaskIndexOf(project_.TaskAt(21).Id()), kNoTaskIndex);
  for (std::size_t i = 1; i <= 9; ++i)
    EXPECT_EQ(project_.TaskAt(i).Type(), TaskType::ShowDialogBox) << ids[i];
  EXPECT_EQ(project_.FindTask("2406")->Type(), TaskType::DataSetting);
  EXPECT_EQ(project_.FindTask("2412")->Type(), TaskType::ExtractFiles);
}

TEST_F(SampleProject, ProjectProperties) {
  EXPECT_EQ(project_.ProjectName(), std::string(kSampleName) + " Sample");
  const struct {
    FieldName name;
    const char* value;
  } cases[] = {
      {FieldName::InstallPath, "[Program Files]\\Sample"},
      {FieldName::DiskSize, "650000000"},
      {FieldName::AdPicture, ""},
      {FieldName::Language, "Chinese (Simplified),English"},
      {FieldName::SoftwareSize, "1843200"},
      {FieldName::FileQty, "12"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(project_.GetFieldValue("2401", SubTaskType::GetAllVar, c.name), c.value)
        << FieldNameText(c.name);
  }
  EXPECT_EQ(Values("2402", SubTaskType::GetAllVar, FieldName::PathDesc),
            (std::vector<std::string>{"[InstallDir]", "[Program Files]"}));
  EXPECT_EQ(Values("2402", SubTaskType::GetAllVar, FieldName::PathValue),
            (std::vector<std::string>{"D:\\Apps\\Sample", "C:\\Program Files"}));
}

TEST_F(SampleProject, PagesAndSettings) {
  EXPECT_EQ(Values("2002", SubTaskType::ShowText, FieldName::Description),
            (std::vector<std::string>{"\xB5\xDA\xD2\xBB\xD0\xD0", "second line", "a > b"}));
  EXPECT_EQ(project_.GetFieldValue("2003", SubTaskType::ShowSoftDoc, FieldName::File),
            "[TempFileDir]\\~TarnInstall-License.txt");
  EXPECT_EQ(Values("2005", SubTaskType::EditBox, FieldName::RegVarName),
            (std::vector<std::string>{"User", "Company"}));
  EXPECT_EQ(Values("2010", SubTaskType::RunApp, FieldName::AppParameter),
            (std::vector<std::string>{"/first", ""}));
  EXPECT_EQ(project_.GetFieldValue("2404", SubTaskType::GetValue, FieldName::Description),
            kSampleName);
  EXPECT_EQ(Values("2404", SubTaskType::CreateShortcutMenu, FieldName::IsToDesktop),
            (std::vector<std::string>{"1", "0"}));
  EXPECT_EQ(Values("2406", SubTaskType::Registry, FieldName::RegDataType),
            (std::vector<std::string>{"REG_SZ", "REG_DWORD"}));
  EXPECT_EQ(project_.FindTask("2406")->SubTaskAt(0).FieldCount(), 8u);
  EXPECT_EQ(project_.GetFieldValue("2410", SubTaskType::GetValue, FieldName::CreateUnInstall2),
            "1");
  EXPECT_EQ(project_.GetFieldValue("2407", SubTaskType::GetValue, FieldName::File),
            "[Windows Directory]\\Fonts\\sample.ttf");
}

TEST_F(SampleProject, WizardWalksTheExecutablePages) {
  TaskCursor& cursor = project_.Cursor();
  ASSERT_NE(cursor.Current(), nullptr);
  EXPECT_EQ(cursor.Current()->Id(), "2002");
  std::vector<std::string> forward;
  while (const Task* task = cursor.Next()) forward.push_back(task->Id());
  EXPECT_EQ(forward, (std::vector<std::string>{"2003", "2005", "2006", "2007", "2008", "2010"}));
  std::vector<std::string> back;
  while (const Task* task = cursor.Previous()) back.push_back(task->Id());
  EXPECT_EQ(back, (std::vector<std::string>{"2008", "2007", "2006", "2005", "2003", "2002"}));
}

TEST_F(SampleProject, ExtractionTaskAtLoadAndAfterRebuild) {
  const auto loaded = Values("2412", SubTaskType::FileList, FieldName::File);
  ASSERT_EQ(loaded.size(), 4u);
  EXPECT_EQ(loaded[0], "[TempFileDir]\\~TarnInstall-Language.ini,462848,3114,K,2005-1-23 20:20:58");
  EXPECT_TRUE(Values("2412", SubTaskType::FolderList, FieldName::Folder).empty());

  ASSERT_TRUE(project_.RebuildExtractionTask());
  EXPECT_EQ(Values("2412", SubTaskType::FolderList, FieldName::Folder),
            (std::vector<std::string>{"[InstallDir]", "[InstallDir]\\Data",
                                      "[InstallDir]\\\x81\x5C\\Docs"}));
  const auto files = Values("2412", SubTaskType::FileList, FieldName::File);
  const std::string fileQty =
      project_.GetFieldValue("2401", SubTaskType::GetAllVar, FieldName::FileQty);
  ASSERT_EQ(static_cast<std::int64_t>(files.size()), text::ParseDecimal64(fileQty));

  using package::EntryKind;
  const std::vector<EntryKind> kinds = {
      EntryKind::Installer,   EntryKind::Installer,      EntryKind::Installer,
      EntryKind::Installer,   EntryKind::Application,    EntryKind::Stored,
      EntryKind::Application, EntryKind::RegistryImport, EntryKind::RunAndDelete,
      EntryKind::Uninstaller, EntryKind::Installer,      EntryKind::Application};
  ASSERT_EQ(files.size(), kinds.size());
  std::int64_t expectedOffset = 462848;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const auto entry = package::PackageEntry::Parse(files[i]);
    ASSERT_TRUE(entry) << files[i];
    EXPECT_EQ(entry->Kind(), kinds[i]) << files[i];
    // The streams lie back to back, so each offset is the previous one plus its size.
    EXPECT_EQ(entry->Offset(), expectedOffset) << files[i];
    expectedOffset = entry->Offset() + entry->CompressedSize();
  }
  EXPECT_EQ(package::PackageEntry::Parse(files[5])->Target(), "[InstallDir]\\Data\\a,b.dat");
  EXPECT_EQ(package::PackageEntry::Parse(files[6])->Target(),
            "[InstallDir]\\\x81\x5C\\Docs\\\xCB\xB5\xC3\xF7.txt");
}

}  // namespace
}  // namespace tarn::project
