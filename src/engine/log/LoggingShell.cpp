#include "engine/log/LoggingShell.h"

#include "text/ByteText.h"

namespace tarn::engine {

namespace {

const char* Outcome(bool ok) { return ok ? "" : " (failed)"; }

}  // namespace

bool LoggingShell::CreateShellLink(const platform::ShellLink& link, const std::string& linkPath) {
  const bool ok = inner_.CreateShellLink(link, linkPath);
  if (log_.IsOpen()) {
    std::string line = std::string(ok ? "Shortcut created: " : "Shortcut not created: ") +
                       text::Quoted(linkPath) + " -> " + text::Quoted(link.target);
    if (!link.arguments.empty()) line += " " + link.arguments;
    log_.Line(line);
  }
  return ok;
}

bool LoggingShell::OpenDocument(const std::string& file, const std::string& parameters,
                                const std::string& directory, std::int32_t showCommand) {
  const bool ok = inner_.OpenDocument(file, parameters, directory, showCommand);
  if (log_.IsOpen())
    log_.Line("Opened: " + text::Quoted(file) + (parameters.empty() ? "" : " " + parameters) +
              Outcome(ok));
  return ok;
}

bool LoggingShell::StartProgram(const std::string& commandLine, std::int32_t showCommand) {
  const bool ok = inner_.StartProgram(commandLine, showCommand);
  if (log_.IsOpen()) log_.Line("Program started: " + commandLine + Outcome(ok));
  return ok;
}

std::optional<std::uint32_t> LoggingShell::RunAndWait(const std::string& commandLine,
                                                      std::int32_t showCommand) {
  if (log_.IsOpen()) log_.Line("Program started: " + commandLine);
  const auto code = inner_.RunAndWait(commandLine, showCommand);
  if (log_.IsOpen())
    log_.Line(code ? "Program ended with exit code " + std::to_string(*code)
                   : std::string("Program could not be started"));
  return code;
}

void LoggingShell::ShowMessage(const std::string& text, const std::string& caption) {
  if (log_.IsOpen()) log_.Line("Message " + text::Quoted(caption) + ": " + text);
  if (!silent_) inner_.ShowMessage(text, caption);
}

bool LoggingShell::AddFont(const std::string& path) {
  const bool ok = inner_.AddFont(path);
  if (log_.IsOpen()) log_.Line("Font added: " + text::Quoted(path) + Outcome(ok));
  return ok;
}

bool LoggingShell::RestartComputer() {
  if (log_.IsOpen()) log_.Line("Restart of the computer requested");
  return inner_.RestartComputer();
}

}  // namespace tarn::engine
