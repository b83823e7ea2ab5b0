#include "pages/FinishActions.h"

#include <algorithm>
#include <string_view>

#include "engine/actions/Cleanup.h"
#include "engine/actions/Shortcuts.h"
#include "engine/session/PageMetrics.h"
#include "project/TaskIds.h"
#include "text/ByteText.h"

namespace tarn::pages {

using engine::CreateFinishPageShortcuts;
using engine::FinishCheckBoxId;
using engine::IsWebAddress;
using engine::RunCleanup;
using engine::ScaleFrom120Dpi;
using engine::SetupSession;

namespace {

using project::FieldName;
using project::SubTask;
using project::SubTaskType;

bool IsRestartTask(const project::Task& task) { return task.Id() == project::task::FinishPage; }

bool IsProgram(const std::string& file, std::uint32_t codePage) {
  return text::AsciiUpper(text::FileExtension(file, codePage)) == "EXE";
}

void AddProgramBoxes(const project::Task& task, std::vector<FinishCheckBox>& boxes) {
  for (const SubTask& sub : task.SubTasks()) {
    if (sub.Type() != SubTaskType::RunApp) continue;
    std::vector<const std::string*> descriptions;
    for (const auto& field : sub.Fields()) {
      if (field.Name() == FieldName::Description) descriptions.push_back(&field.Value());
    }
    // One text per ID, or the box would carry another program's text.
    if (descriptions.size() != 1) continue;
    boxes.push_back({*descriptions.front(), text::ParseDecimal32(sub.Id())});
  }
}

void AddShortcutBoxes(const SetupSession& s, std::vector<FinishCheckBox>& boxes) {
  const project::Task* shortcuts = s.Project.FindTask(project::task::Shortcuts);
  if (!shortcuts) return;
  for (const SubTask& sub : shortcuts->SubTasks()) {
    if (sub.Type() != SubTaskType::CreateShortcutMenu) continue;
    bool offered = false;
    for (const auto& field : sub.Fields()) {
      if (field.Name() == FieldName::IsSpecExec) {
        offered = text::ParseDecimal32(field.Value()) != 0;
      } else if (field.Name() == FieldName::SpecExecDesc && offered) {
        boxes.push_back({field.Value(), FinishCheckBoxId(sub)});
      }
    }
  }
}

// Opens one chosen program, document or address, without waiting for it.
void Launch(SetupSession& s, const std::string& file, const std::string& folder,
            const std::string& parameter) {
  s.System.files.ChangeCurrentDirectory(s.Expand(folder));
  // An address goes to the shell whatever it ends with.
  if (IsWebAddress(file)) {
    s.System.shell.OpenDocument(file, {}, {}, platform::kShowShow);
    return;
  }
  const std::string path = s.Expand(folder + "\\" + file);
  const std::string arguments = parameter.empty() ? std::string() : " " + parameter;
  if (IsProgram(file, s.CodePage)) {
    // Quoted, so that a path with blanks cannot start a shorter program name first.
    s.System.shell.StartProgram("\"" + path + "\"" + arguments, platform::kShowShow);
  } else {
    s.System.shell.OpenDocument(path + arguments, {}, {}, platform::kShowShow);
  }
}

void RunChosenPrograms(SetupSession& s, const project::Task& task,
                       const std::function<bool(std::int32_t)>& isTicked) {
  std::string file;
  std::string folder;
  std::string parameter;
  for (const SubTask& sub : task.SubTasks()) {
    if (sub.Type() != SubTaskType::RunApp || !isTicked(text::ParseDecimal32(sub.Id()))) continue;
    for (const auto& field : sub.Fields()) {
      switch (field.Name()) {
        case FieldName::File:
          file = field.Value();
          break;
        case FieldName::Folder:
          folder = field.Value();
          break;
        case FieldName::AppParameter:
          parameter = field.Value();
          Launch(s, file, folder, parameter);
          break;
        default:
          break;
      }
    }
  }
}

}  // namespace

std::vector<FinishCheckBox> FinishCheckBoxes(const SetupSession& s,
                                             const project::Task& finishTask) {
  std::vector<FinishCheckBox> boxes;
  if (IsRestartTask(finishTask)) {
    boxes.push_back(
        {s.Language.GetText(project::LanguageKey::ShowFinishDesc1), kRestartCheckBoxId});
  } else {
    AddProgramBoxes(finishTask, boxes);
  }
  AddShortcutBoxes(s, boxes);
  return boxes;
}

FinishLayoutMetrics FinishLayoutForDpi(std::int32_t logPixelsY) {
  if (logPixelsY <= 96) return FinishLayoutMetrics{};
  return FinishLayoutMetrics{ScaleFrom120Dpi(22, logPixelsY), ScaleFrom120Dpi(8, logPixelsY),
                             ScaleFrom120Dpi(18, logPixelsY), ScaleFrom120Dpi(4, logPixelsY)};
}

std::vector<BoxRect> LayoutFinishCheckBoxes(const std::vector<FinishCheckBox>& boxes,
                                            std::int32_t width, std::int32_t height,
                                            const FinishLayoutMetrics& m) {
  std::int64_t maxLen = 1;
  for (const auto& box : boxes) maxLen = std::max<std::int64_t>(maxLen, box.text.size());
  const std::int64_t count = static_cast<std::int64_t>(boxes.size());
  const std::int64_t step = m.lineHeight + m.gap;
  const std::int64_t x = std::max<std::int64_t>(0, (width - maxLen * m.charWidth - m.margin) / 2);
  std::int64_t y = std::max<std::int64_t>(0, (height - count * step) / 2);

  // Far beyond any real page, the figures stop growing instead of wrapping.
  const auto clamp = [](std::int64_t v) {
    return static_cast<std::int32_t>(std::min<std::int64_t>(v, INT32_MAX));
  };
  std::vector<BoxRect> rects;
  rects.reserve(boxes.size());
  for (const auto& box : boxes) {
    const std::int64_t boxWidth =
        2 * (static_cast<std::int64_t>(box.text.size()) * m.charWidth + m.margin);
    rects.push_back({clamp(x), clamp(y), clamp(x + boxWidth), clamp(y + m.lineHeight)});
    y += step;
  }
  return rects;
}

void RunFinishActions(SetupSession& s, const project::Task& finishTask,
                      const std::function<bool(std::int32_t)>& isTicked) {
  if (IsRestartTask(finishTask)) {
    if (!isTicked(kRestartCheckBoxId)) return;
    // Nothing runs after a restart: the temporary files must go first.
    RunCleanup(s);
    s.System.shell.RestartComputer();
    return;
  }
  CreateFinishPageShortcuts(
      s, [&isTicked](const SubTask& sub) { return isTicked(FinishCheckBoxId(sub)); });
  RunChosenPrograms(s, finishTask, isTicked);
}

}  // namespace tarn::pages
