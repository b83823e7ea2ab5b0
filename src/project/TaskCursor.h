#pragma once
// The wizard's walk through the project: Next and Back step between the tasks whose IsExec is
// set, with the first and last such tasks as the two ends. Stepping past either end yields
// nothing once and leaves the cursor where it was.

#include <cstddef>
#include <vector>

#include "project/Task.h"

namespace tarn::project {

class TaskCursor {
 public:
  // The cursor reads `tasks` on every step; the list must outlive it.
  explicit TaskCursor(const std::vector<Task>& tasks) : tasks_(tasks) {}
  TaskCursor(const TaskCursor&) = delete;
  TaskCursor& operator=(const TaskCursor&) = delete;

  // The next executable task, or null at the end (then AtEnd() is true).
  const Task* Next();
  // The previous executable task, or null at the start (then AtStart() is true).
  const Task* Previous();
  // The task at the cursor; null only when the list has no task at that index.
  const Task* Current() const;

  // Called by the reader for each task it appends, in order.
  void NoteTaskAdded(std::size_t index);
  // Puts the cursor on the first executable task, where the walk begins.
  void MoveToFirst() { current_ = first_; }
  // Forgets every executable task, as before reading a document.
  void Reset();

  std::size_t First() const { return first_; }
  std::size_t Last() const { return last_; }
  std::size_t CurrentIndex() const { return current_; }
  bool AtStart() const { return atStart_; }
  bool AtEnd() const { return atEnd_; }
  bool HasExecutableTask() const { return found_; }

 private:
  const std::vector<Task>& tasks_;
  // first_ and last_ mean something only once found_ is set. Keeping "none" apart from
  // index 0 lets an executable first task be the first page.
  bool found_ = false;
  std::size_t first_ = 0;
  std::size_t last_ = 0;
  std::size_t current_ = 0;
  bool atStart_ = false;
  bool atEnd_ = false;
};

}  // namespace tarn::project
