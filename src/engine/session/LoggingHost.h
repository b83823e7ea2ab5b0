#pragma once
// The questions of a run and their answers in the installation log: the worker's questions
// (through its host) and the requests for volumes (through the package reader's prompt).

#include "engine/log/InstallLog.h"
#include "engine/session/InstallHost.h"
#include "package/VolumePrompt.h"

namespace tarn::engine {

class LoggingInstallHost : public InstallHost {
 public:
  LoggingInstallHost(InstallHost& inner, InstallLog& log) : inner_(inner), log_(log) {}
  void ShowStatus(const std::string& text) override;
  void ShowProgress(std::int32_t percent) override { inner_.ShowProgress(percent); }
  bool AskToAbort(const std::string& text, const std::string& caption) override;
  bool AskAfterWriteError(const std::string& text, const std::string& caption) override;
  void Finished(InstallEnd end) override;
  bool Watched() const override { return inner_.Watched(); }

 private:
  InstallHost& inner_;
  InstallLog& log_;
};

class LoggingVolumePrompt : public package::VolumePrompt {
 public:
  LoggingVolumePrompt(package::VolumePrompt& inner, InstallLog& log) : inner_(inner), log_(log) {}
  std::optional<std::string> AskForVolume(const std::string& expectedPath,
                                          std::int32_t volume) override;

 private:
  package::VolumePrompt& inner_;
  InstallLog& log_;
};

// The log line of a question and its answer.
void LogAnswer(InstallLog& log, const std::string& caption, const std::string& text, bool yes);

}  // namespace tarn::engine
