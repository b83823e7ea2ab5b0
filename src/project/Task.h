#pragma once
// The pieces of an installation project: a task is an ordered list of subtasks, a subtask an
// ordered list of named values. Values stay the raw text of the document; whoever reads a
// number or a flag converts it.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "project/NameTables.h"

namespace tarn::project {

class FieldEntry {
 public:
  FieldEntry(FieldName name, std::string value) : name_(name), value_(std::move(value)) {}

  FieldName Name() const { return name_; }
  const std::string& Value() const { return value_; }

 private:
  FieldName name_;
  std::string value_;
};

class SubTask {
 public:
  SubTask() = default;
  SubTask(std::string id, SubTaskType type) : id_(std::move(id)), type_(type) {}

  const std::string& Id() const { return id_; }
  SubTaskType Type() const { return type_; }

  std::size_t FieldCount() const { return fields_.size(); }
  // Throws std::out_of_range for an index outside the list.
  const FieldEntry& FieldAt(std::size_t index) const { return fields_.at(index); }
  const std::vector<FieldEntry>& Fields() const { return fields_; }

  void AddField(FieldName name, std::string value);
  void AddField(FieldEntry field) { fields_.push_back(std::move(field)); }

 private:
  std::string id_;
  SubTaskType type_ = SubTaskType::InvalidType;
  std::vector<FieldEntry> fields_;
};

class Task {
 public:
  Task() = default;
  Task(std::string id, TaskType type, bool isExec)
      : id_(std::move(id)), type_(type), isExec_(isExec) {}

  const std::string& Id() const { return id_; }
  TaskType Type() const { return type_; }
  bool IsExec() const { return isExec_; }

  std::size_t SubTaskCount() const { return subTasks_.size(); }
  // Throws std::out_of_range for an index outside the list.
  const SubTask& SubTaskAt(std::size_t index) const { return subTasks_.at(index); }
  const std::vector<SubTask>& SubTasks() const { return subTasks_; }

  // Stores a copy of its own: later changes to the caller's subtask do not reach the task.
  void AddSubTask(SubTask subTask);
  void RemoveAllSubTasks() { subTasks_.clear(); }

 private:
  std::string id_;
  TaskType type_ = TaskType::InvalidType;
  bool isExec_ = false;
  std::vector<SubTask> subTasks_;
};

}  // namespace tarn::project
