#include "project/TaskCursor.h"

namespace tarn::project {

const Task* TaskCursor::Next() {
  atStart_ = false;
  if (!found_) return nullptr;
  if (current_ == last_) atEnd_ = true;
  if (atEnd_) return nullptr;
  for (std::size_t i = current_ + 1; i < last_ && i < tasks_.size(); ++i) {
    if (tasks_[i].IsExec()) {
      current_ = i;
      return &tasks_[i];
    }
  }
  atEnd_ = true;
  current_ = last_;
  return Current();
}

const Task* TaskCursor::Previous() {
  atEnd_ = false;
  if (!found_) return nullptr;
  if (current_ == first_) {
    atStart_ = true;
    return nullptr;
  }
  if (atStart_) return nullptr;
  for (std::size_t i = current_; i > first_ + 1;) {
    --i;
    if (i < tasks_.size() && tasks_[i].IsExec()) {
      current_ = i;
      return &tasks_[i];
    }
  }
  atStart_ = true;
  current_ = first_;
  return Current();
}

const Task* TaskCursor::Current() const {
  return current_ < tasks_.size() ? &tasks_[current_] : nullptr;
}

void TaskCursor::NoteTaskAdded(std::size_t index) {
  if (index >= tasks_.size() || !tasks_[index].IsExec()) return;
  atStart_ = true;
  if (!found_) {
    found_ = true;
    first_ = index;
  }
  last_ = index;
}

void TaskCursor::Reset() {
  found_ = false;
  first_ = last_ = current_ = 0;
  atStart_ = atEnd_ = false;
}

}  // namespace tarn::project
