#include "uninstall/CommandLine.h"

#include "text/ByteText.h"

namespace tarn::uninstall {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void SkipBlanks(std::string_view& rest) {
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
}

// The text after the program path.
std::string_view AfterProgram(std::string_view line, std::string_view modulePath) {
  if (!line.empty() && line.front() == '"') {
    const std::size_t close = line.find('"', 1);
    return close == std::string_view::npos ? std::string_view() : line.substr(close + 1);
  }
  if (!modulePath.empty() && line.size() >= modulePath.size() &&
      text::EqualsIgnoreAsciiCase(line.substr(0, modulePath.size()), modulePath) &&
      (line.size() == modulePath.size() || IsBlank(line[modulePath.size()])))
    return line.substr(modulePath.size());
  std::size_t end = 0;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  return line.substr(end);
}

// One word, or a quoted text without its quotes; `rest` moves past it.
std::string TakeWord(std::string_view& rest) {
  if (!rest.empty() && rest.front() == '"') {
    const std::size_t close = rest.find('"', 1);
    const std::size_t end = close == std::string_view::npos ? rest.size() : close;
    std::string word(rest.substr(1, end - 1));
    rest.remove_prefix(close == std::string_view::npos ? rest.size() : close + 1);
    return word;
  }
  std::size_t end = 0;
  while (end < rest.size() && !IsBlank(rest[end])) ++end;
  std::string word(rest.substr(0, end));
  rest.remove_prefix(end);
  return word;
}

}  // namespace

std::optional<UninstallCommand> ParseUninstallCommandLine(std::string_view line,
                                                          std::string_view modulePath) {
  UninstallCommand command;
  std::string_view rest = AfterProgram(line, modulePath);
  for (;;) {
    SkipBlanks(rest);
    if (rest.empty() || rest.front() != '/') break;
    std::string_view probe = rest;
    const std::string word = TakeWord(probe);
    const std::string upper = text::AsciiUpper(word);
    if (upper == "/S") {
      command.silent = true;
      rest = probe;
    } else if (upper.compare(0, 5, "/LOG=") == 0) {
      rest.remove_prefix(5);
      command.logPath = TakeWord(rest);
      if (command.logPath.empty()) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  // Line ends and trailing blanks are never part of a record's name.
  while (!rest.empty() && (IsBlank(rest.back()) || rest.back() == '\r' || rest.back() == '\n'))
    rest.remove_suffix(1);
  if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
    rest = rest.substr(1, rest.size() - 2);
  if (rest.empty() || rest.find('"') != std::string_view::npos) return std::nullopt;
  command.recordPath = std::string(rest);
  return command;
}

}  // namespace tarn::uninstall
