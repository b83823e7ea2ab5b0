#include "project/TaskCursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarn::project {
namespace {

// Tasks "t0", "t1", ... whose IsExec follows `pattern` ("0101": t1 and t3 are executable).
std::vector<Task> TasksFor(const std::string& pattern) {
  std::vector<Task> tasks;
  for (std::size_t i = 0; i < pattern.size(); ++i)
    tasks.emplace_back("t" + std::to_string(i), TaskType::ShowDialogBox, pattern[i] == '1');
  return tasks;
}

// Notes the tasks the way the reader does while it appends them.
void NoteAll(TaskCursor& cursor, const std::vector<Task>& tasks) {
  for (std::size_t i = 0; i < tasks.size(); ++i) cursor.NoteTaskAdded(i);
  cursor.MoveToFirst();
}

std::string IdOf(const Task* task) { return task ? task->Id() : "none"; }

struct Step {
  char move;  // 'N' Next, 'P' Previous
  const char* result;
  const char* current;
  bool atStart;
  bool atEnd;
};

struct Walk {
  const char* name;
  const char* pattern;
  const char* startsAt;
  std::vector<Step> steps;
};

TEST(TaskCursor, Walks) {
  const Walk walks[] = {
      {"single executable page after the properties task",
       "01000",
       "t1",
       {{'N', "none", "t1", false, true},
        {'N', "none", "t1", false, true},
        {'P', "none", "t1", true, false},
        {'P', "none", "t1", true, false}}},
      {"pages with IsExec 0 are skipped both ways",
       "0101101",
       "t1",
       {{'N', "t3", "t3", false, false},
        {'N', "t4", "t4", false, false},
        {'N', "t6", "t6", false, true},
        {'N', "none", "t6", false, true},
        {'P', "t4", "t4", false, false},
        {'P', "t3", "t3", false, false},
        {'P', "t1", "t1", true, false},
        {'P', "none", "t1", true, false},
        {'N', "t3", "t3", false, false}}},
      {"back at the first page yields none",
       "0110",
       "t1",
       {{'P', "none", "t1", true, false}, {'N', "t2", "t2", false, true}}},
      {"next at the last page yields none, back still works",
       "00101",
       "t2",
       {{'N', "t4", "t4", false, true},
        {'N', "none", "t4", false, true},
        {'P', "t2", "t2", true, false}}},
      {"trailing tasks after the last page are never reached",
       "01100",
       "t1",
       {{'N', "t2", "t2", false, true}, {'N', "none", "t2", false, true}}},
      {"no executable task at all",
       "000",
       "t0",
       {{'N', "none", "t0", false, false}, {'P', "none", "t0", false, false}}},
      {"an executable first task stays the first page",
       "1010",
       "t0",
       {{'N', "t2", "t2", false, true},
        {'P', "t0", "t0", true, false},
        {'P', "none", "t0", true, false}}},
  };
  for (const Walk& walk : walks) {
    SCOPED_TRACE(walk.name);
    const std::vector<Task> tasks = TasksFor(walk.pattern);
    TaskCursor cursor(tasks);
    NoteAll(cursor, tasks);
    EXPECT_EQ(IdOf(cursor.Current()), walk.startsAt);
    for (std::size_t i = 0; i < walk.steps.size(); ++i) {
      const Step& step = walk.steps[i];
      SCOPED_TRACE("step " + std::to_string(i) + " " + step.move);
      const Task* result = step.move == 'N' ? cursor.Next() : cursor.Previous();
      EXPECT_EQ(IdOf(result), step.result);
      EXPECT_EQ(IdOf(cursor.Current()), step.current);
      EXPECT_EQ(cursor.AtStart(), step.atStart);
      EXPECT_EQ(cursor.AtEnd(), step.atEnd);
    }
  }
}

TEST(TaskCursor, ReadingMarksTheEndsOfTheWalk) {
  const std::vector<Task> tasks = TasksFor("0011010");
  TaskCursor cursor(tasks);
  EXPECT_FALSE(cursor.AtStart());
  NoteAll(cursor, tasks);
  EXPECT_TRUE(cursor.HasExecutableTask());
  EXPECT_EQ(cursor.First(), 2u);
  EXPECT_EQ(cursor.Last(), 5u);
  EXPECT_EQ(cursor.CurrentIndex(), 2u);
  EXPECT_TRUE(cursor.AtStart());
  EXPECT_FALSE(cursor.AtEnd());
}

TEST(TaskCursor, EmptyListGivesNoTask) {
  const std::vector<Task> tasks;
  TaskCursor cursor(tasks);
  cursor.MoveToFirst();
  EXPECT_EQ(cursor.Current(), nullptr);
  EXPECT_EQ(cursor.Next(), nullptr);
  EXPECT_EQ(cursor.Previous(), nullptr);
}

}  // namespace
}  // namespace tarn::project
