#include "engine/actions/RegistryOperations.h"

#include <optional>

#include "engine/actions/Programs.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "project/NameTables.h"
#include "text/ByteText.h"

namespace tarn::engine {

using project::FieldName;

namespace {

// Root names of key lines, with their "[", compared exactly as written.
constexpr const char* kKeyLineRoots[] = {
    "[HKEY_CLASSES_ROOT", "[HKEY_CURRENT_USER",   "[HKEY_LOCAL_MACHINE",
    "[HKEY_USERS",        "[HKEY_CURRENT_CONFIG",
};

bool IsKeyLineRoot(const std::string& root) {
  for (const char* known : kKeyLineRoots) {
    if (root == known) return true;
  }
  return false;
}

// True when the last character of `line` is a whole `c`, not the trail byte of a double-byte
// character.
bool EndsWithChar(const std::string& line, char c, std::uint32_t codePage) {
  return !line.empty() && text::FindLastChar(line, c, codePage) == line.size() - 1;
}

// "[ROOT\path\to\key]": opens (creating) the key on `key`. Any other shape, or an unknown root,
// leaves nothing open, so that the value lines that follow are not written to the previous key.
void OpenKeyLine(RegistryKey& key, const std::string& line, std::uint32_t codePage) {
  key.Close();
  const std::size_t slash = text::FindChar(line, '\\', codePage);
  if (slash == text::npos || !EndsWithChar(line, ']', codePage)) return;
  const std::string root = line.substr(0, slash);
  if (!IsKeyLineRoot(root)) return;
  key.SetRootByName(root.substr(1));
  key.OpenPath(line.substr(slash, line.size() - 1 - slash), true);
}

struct ValueLine {
  std::string name;
  std::string value;
};

// "name"="value", nothing escaped: the value runs from past `="` to before the final quote.
std::optional<ValueLine> ParseValueLine(const std::string& line, std::uint32_t codePage) {
  if (line.empty() || line[0] != '"') return std::nullopt;
  const std::size_t close = text::FindChar(line, '"', codePage, 1);
  if (close == text::npos || line.compare(close + 1, 2, "=\"") != 0) return std::nullopt;
  const std::size_t start = close + 3;
  if (line.size() <= start || !EndsWithChar(line, '"', codePage)) return std::nullopt;
  return ValueLine{line.substr(1, close - 1), line.substr(start, line.size() - 1 - start)};
}

}  // namespace

void ExecuteRegistrySubTask(RegistryKey& holder, const project::SubTask& subTask,
                            const std::string& overrideValue, const project::PathContext& paths) {
  std::string subKey;
  std::string name;
  std::string storedValue;
  std::int32_t dataType = 0;
  std::int32_t operType = 0;
  std::int32_t onlyToKey = 0;
  for (const auto& field : subTask.Fields()) {
    switch (field.Name()) {
      case FieldName::RegRootKey:
        holder.SetRootByName(field.Value());
        break;
      case FieldName::RegSubKey:
        subKey = field.Value();
        break;
      case FieldName::RegVarName:
        name = field.Value();
        break;
      case FieldName::RegVarValue:
        storedValue = field.Value();
        break;
      case FieldName::RegDataType:
        dataType = text::ParseDecimal32(field.Value());
        break;
      case FieldName::RegOperType:
        operType = text::ParseDecimal32(field.Value());
        break;
      case FieldName::IsOnlyToKey:
        onlyToKey = text::ParseDecimal32(field.Value());
        break;
      default:
        break;
    }
  }
  const std::string& value = overrideValue.empty() ? storedValue : overrideValue;

  if (operType == 0) {
    holder.OpenPath(subKey, true);
    if (onlyToKey != 0) return;
    switch (dataType) {
      case 0:
        holder.SetString(name, project::ExpandAllPaths(value, paths));
        break;
      case 1:
        holder.SetDword(name, static_cast<std::uint32_t>(text::ParseDecimal32(value)));
        break;
      case 2:
        holder.SetBinary(name, value);
        break;
      default:
        break;
    }
  } else if (operType == 1) {
    if (onlyToKey != 0) {
      holder.DeleteKey(subKey);
    } else {
      holder.DeleteValue(subKey + "\\" + name);
    }
  }
}

void ImportRegistryTextFile(SetupSession& session, const std::string& path) {
  const auto content = platform::ReadWholeFile(session.System.files, path, kMaxRegistryTextSize);
  if (!content) return;
  const std::uint32_t codePage = session.CodePage;
  RegistryKey key(session.System.registry, codePage);

  // Lines are cut at LF bytes: neither CR nor LF is ever the trail byte of a double-byte
  // character. A last line without a line end keeps all its characters.
  std::size_t start = 0;
  while (start < content->size()) {
    std::size_t end = content->find('\n', start);
    const std::size_t next = end == std::string::npos ? content->size() : end + 1;
    if (end == std::string::npos) {
      end = content->size();
    } else if (end > start && (*content)[end - 1] == '\r') {
      --end;
    }
    const std::string line = content->substr(start, end - start);
    start = next;

    if (line.empty()) continue;
    if (line[0] == '[') {
      OpenKeyLine(key, line, codePage);
    } else if (const auto entry = ParseValueLine(line, codePage)) {
      key.SetString(entry->name, entry->value);
    }
  }
}

void ImportRegFilesWithEditor(SetupSession& session, const std::vector<std::string>& files) {
  const std::string editor = text::Quoted(session.Expand("[Windows Directory]") + "\\Regedit.exe");
  for (const auto& file : files) {
    if (text::AsciiUpper(text::FileExtension(file, session.CodePage)) != "REG") continue;
    // A line too long to start is skipped; the editor's result is not awaited.
    StartCommand(session.System.shell, editor + " -s " + text::Quoted(session.Expand(file)),
                 platform::kShowShow);
  }
}

}  // namespace tarn::engine
