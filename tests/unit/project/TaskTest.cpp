#include "project/Task.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tarn::project {
namespace {

TEST(Task, AddSubTaskKeepsACopyOfItsOwn) {
  SubTask subTask("10001", SubTaskType::ShowText);
  subTask.AddField(FieldName::Description, "first");
  subTask.AddField(FieldName::Description, "second");

  Task task("2002", TaskType::ShowDialogBox, true);
  task.AddSubTask(subTask);
  subTask.AddField(FieldName::PosX, "10");

  ASSERT_EQ(task.SubTaskCount(), 1u);
  const SubTask& stored = task.SubTaskAt(0);
  EXPECT_EQ(stored.Id(), "10001");
  EXPECT_EQ(stored.Type(), SubTaskType::ShowText);
  ASSERT_EQ(stored.FieldCount(), 2u);
  EXPECT_EQ(stored.FieldAt(0).Value(), "first");
  EXPECT_EQ(stored.FieldAt(1).Value(), "second");
  EXPECT_EQ(subTask.FieldCount(), 3u);
}

TEST(Task, RemoveAllSubTasksEmptiesTheListOnly) {
  Task task("2412", TaskType::ExtractFiles, false);
  task.AddSubTask(SubTask("10001", SubTaskType::FolderList));
  task.AddSubTask(SubTask("10002", SubTaskType::FileList));
  task.RemoveAllSubTasks();
  EXPECT_EQ(task.SubTaskCount(), 0u);
  EXPECT_EQ(task.Id(), "2412");
  EXPECT_EQ(task.Type(), TaskType::ExtractFiles);
  task.AddSubTask(SubTask("10003", SubTaskType::FileList));
  EXPECT_EQ(task.SubTaskAt(0).Id(), "10003");
}

TEST(Task, IndexOutsideAListThrows) {
  Task task("2002", TaskType::ShowDialogBox, true);
  EXPECT_THROW(task.SubTaskAt(0), std::out_of_range);
  SubTask subTask("10001", SubTaskType::ShowText);
  subTask.AddField(FieldName::PosX, "0");
  task.AddSubTask(subTask);
  EXPECT_NO_THROW(task.SubTaskAt(0));
  EXPECT_THROW(task.SubTaskAt(1), std::out_of_range);
  EXPECT_THROW(task.SubTaskAt(static_cast<std::size_t>(-1)), std::out_of_range);
  EXPECT_THROW(task.SubTaskAt(0).FieldAt(1), std::out_of_range);
}

}  // namespace
}  // namespace tarn::project
