#pragma once
// Helpers for the project tests: documents written line by line, and a compact rendering of
// what the reader made of them so a whole model can be compared against one expected string.

#include <initializer_list>
#include <string>
#include <string_view>

#include "project/InstallProject.h"

namespace tarn::project::testing {

// Every line followed by CR LF, as the builder writes them.
inline std::string CrLf(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

// "ID:Type:IsExec{SubID:SubType[Field=value|Field=value]}{...}"
inline std::string Render(const Task& task) {
  std::string out = task.Id() + ":" + TaskTypeName(task.Type()) + ":" + (task.IsExec() ? "1" : "0");
  for (const SubTask& subTask : task.SubTasks()) {
    out += "{" + subTask.Id() + ":" + SubTaskTypeName(subTask.Type()) + "[";
    for (std::size_t i = 0; i < subTask.FieldCount(); ++i) {
      if (i > 0) out += "|";
      out += FieldNameText(subTask.FieldAt(i).Name()) + "=" + subTask.FieldAt(i).Value();
    }
    out += "]}";
  }
  return out;
}

// The rendered tasks separated by " / ".
inline std::string Render(const InstallProject& project) {
  std::string out;
  for (const Task& task : project.Tasks()) {
    if (!out.empty()) out += " / ";
    out += Render(task);
  }
  return out;
}

}  // namespace tarn::project::testing
