#include "project/InstallProject.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "support/ProjectTasks.h"

namespace tarn::project {
namespace {

using test::MakeSubTask;

// Task "2401" with a GetValue subtask in front of two GetAllVar subtasks, the first of which
// lacks ProjectName.
void FillProperties(InstallProject& project) {
  Task task("2401", TaskType::DataSetting, false);
  task.AddSubTask(
      MakeSubTask("10001", SubTaskType::GetValue, {{FieldName::ProjectName, "from GetValue"}}));
  task.AddSubTask(MakeSubTask(
      "10002", SubTaskType::GetAllVar,
      {{FieldName::InstallPath, "[Program Files]\\A"}, {FieldName::Language, "English"}}));
  task.AddSubTask(MakeSubTask("10003", SubTaskType::GetAllVar,
                              {{FieldName::Language, "Chinese"},
                               {FieldName::ProjectName, "Second"},
                               {FieldName::ProjectName, "Second again"}}));
  project.AddTask(task);
}

TEST(InstallProject, GetFieldValueTakesTheFirstMatchInSubTaskOrder) {
  InstallProject project;
  FillProperties(project);
  const struct {
    const char* task;
    SubTaskType type;
    FieldName name;
    const char* value;
  } cases[] = {
      {"2401", SubTaskType::GetAllVar, FieldName::ProjectName, "Second"},
      {"2401", SubTaskType::GetAllVar, FieldName::Language, "English"},
      {"2401", SubTaskType::GetValue, FieldName::ProjectName, "from GetValue"},
      {"2401", SubTaskType::GetAllVar, FieldName::DiskSize, ""},
      {"2401", SubTaskType::Registry, FieldName::ProjectName, ""},
      {"2402", SubTaskType::GetAllVar, FieldName::ProjectName, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(project.GetFieldValue(c.task, c.type, c.name), c.value)
        << c.task << " " << SubTaskTypeName(c.type) << " " << FieldNameText(c.name);
  }
}

TEST(InstallProject, GetFieldValuesCollectsInOrderAndEmptiesTheListFirst) {
  InstallProject project;
  FillProperties(project);
  std::vector<std::string> values = {"left over"};
  project.GetFieldValues("2401", SubTaskType::GetAllVar, FieldName::Language, values);
  EXPECT_EQ(values, (std::vector<std::string>{"English", "Chinese"}));
  project.GetFieldValues("2401", SubTaskType::GetAllVar, FieldName::ProjectName, values);
  EXPECT_EQ(values, (std::vector<std::string>{"Second", "Second again"}));
  project.GetFieldValues("2999", SubTaskType::GetAllVar, FieldName::Language, values);
  EXPECT_TRUE(values.empty());
}

TEST(InstallProject, FindTaskComparesIdsByteForByte) {
  InstallProject project;
  project.AddTask(Task("2002 ", TaskType::ShowDialogBox, true));
  project.AddTask(Task("2414", TaskType::DataSetting, false));
  project.AddTask(Task("2414", TaskType::ShowDialogBox, false));

  EXPECT_EQ(project.FindTask("2002"), nullptr);
  ASSERT_NE(project.FindTask("2002 "), nullptr);
  EXPECT_EQ(TaskIndexOf(project.FindTask("2002 ")->Id()), kNoTaskIndex);
  const Task* extra = project.FindTask("2414");
  ASSERT_NE(extra, nullptr);
  EXPECT_EQ(extra->Type(), TaskType::DataSetting);
  EXPECT_EQ(extra, &project.TaskAt(1));
  EXPECT_EQ(TaskIndexOf(extra->Id()), kNoTaskIndex);
}

TEST(InstallProject, TaskAtOutsideTheListThrows) {
  InstallProject project;
  EXPECT_THROW(project.TaskAt(0), std::out_of_range);
  project.AddTask(Task("2401", TaskType::DataSetting, false));
  EXPECT_EQ(project.TaskAt(0).Id(), "2401");
  EXPECT_THROW(project.TaskAt(1), std::out_of_range);
}

TEST(InstallProject, RebuildWithoutAnExtractionTaskFails) {
  InstallProject project;
  FillProperties(project);
  project.SetExtractionText(
      "<Task ID=\"2412\">\r\n<SubTask ID=\"10001\" Type=\"FolderList\">\r\n"
      "<SubTask ID=\"10002\" Type=\"FileList\">\r\n<File>a,1,2,A,t</File>\r\n",
      0);
  EXPECT_FALSE(project.RebuildExtractionTask());
  EXPECT_EQ(project.TaskCount(), 1u);
}

TEST(InstallProject, ClearForgetsEverything) {
  InstallProject project;
  FillProperties(project);
  project.AddTask(Task("2002", TaskType::ShowDialogBox, true));
  project.SetProjectName("Name");
  project.SetExtractionText("text", 936);
  project.InstalledFileList.push_back("C:\\a.txt");
  project.CreatedFolderList.push_back("C:\\A");
  project.Clear();
  EXPECT_EQ(project.TaskCount(), 0u);
  EXPECT_EQ(project.ProjectName(), "");
  EXPECT_EQ(project.ExtractionText(), "");
  EXPECT_TRUE(project.InstalledFileList.empty());
  EXPECT_TRUE(project.CreatedFolderList.empty());
  EXPECT_FALSE(project.Cursor().HasExecutableTask());
  EXPECT_EQ(project.Cursor().Current(), nullptr);
}

}  // namespace
}  // namespace tarn::project
