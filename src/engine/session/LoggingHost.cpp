#include "engine/session/LoggingHost.h"

#include "text/ByteText.h"

namespace tarn::engine {

void LogAnswer(InstallLog& log, const std::string& caption, const std::string& text, bool yes) {
  log.Line("Question " + text::Quoted(caption) + ": " + text + " -> " + (yes ? "Yes" : "No"));
}

void LoggingInstallHost::ShowStatus(const std::string& text) {
  log_.Line("Step: " + text);
  inner_.ShowStatus(text);
}

bool LoggingInstallHost::AskToAbort(const std::string& text, const std::string& caption) {
  const bool yes = inner_.AskToAbort(text, caption);
  LogAnswer(log_, caption, text, yes);
  return yes;
}

bool LoggingInstallHost::AskAfterWriteError(const std::string& text, const std::string& caption) {
  const bool yes = inner_.AskAfterWriteError(text, caption);
  LogAnswer(log_, caption, text, yes);
  return yes;
}

void LoggingInstallHost::Finished(InstallEnd end) {
  log_.Line(end == InstallEnd::Completed ? "Installation completed" : "Installation abandoned");
  inner_.Finished(end);
}

std::optional<std::string> LoggingVolumePrompt::AskForVolume(const std::string& expectedPath,
                                                             std::int32_t volume) {
  log_.Line("Volume " + std::to_string(volume) + " not found at " + text::Quoted(expectedPath));
  auto answer = inner_.AskForVolume(expectedPath, volume);
  log_.Line(answer ? "Volume " + std::to_string(volume) + " taken from " + text::Quoted(*answer)
                   : "Volume " + std::to_string(volume) + " given up");
  return answer;
}

}  // namespace tarn::engine
