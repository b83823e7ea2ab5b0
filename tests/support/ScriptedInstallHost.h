#pragma once
// An install host that writes down what the worker showed and asked, answering questions from
// a script. Hooks let a test act at a given moment, for instance press Cancel when a status
// text appears.

#include <atomic>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/session/InstallHost.h"

namespace tarn::test {

class ScriptedInstallHost : public engine::InstallHost {
 public:
  struct Question {
    std::string kind;  // "abort" or "write-error"
    std::string text;
    std::string caption;
    bool answer = false;
  };

  std::vector<std::string> statuses;
  std::vector<std::int32_t> progress;
  std::vector<Question> questions;
  std::optional<engine::InstallEnd> end;
  // Every call in order: "status:<text>", "progress:<n>", "abort?", "write-error?", "end".
  std::vector<std::string> events;

  // Answers in order; when the script runs out, questions are answered No.
  std::deque<bool> abortAnswers;
  std::deque<bool> writeErrorAnswers;

  std::function<void(const std::string&)> onStatus;
  std::function<void(std::int32_t)> onProgress;

  void ShowStatus(const std::string& text) override {
    statuses.push_back(text);
    events.push_back("status:" + text);
    if (onStatus) onStatus(text);
  }
  void ShowProgress(std::int32_t percent) override {
    progress.push_back(percent);
    events.push_back("progress:" + std::to_string(percent));
    if (onProgress) onProgress(percent);
  }
  bool AskToAbort(const std::string& text, const std::string& caption) override {
    return Answer("abort", text, caption, abortAnswers);
  }
  bool AskAfterWriteError(const std::string& text, const std::string& caption) override {
    return Answer("write-error", text, caption, writeErrorAnswers);
  }
  void Finished(engine::InstallEnd how) override {
    end = how;
    events.push_back("end");
  }

 private:
  bool Answer(const std::string& kind, const std::string& text, const std::string& caption,
              std::deque<bool>& script) {
    bool yes = false;
    if (!script.empty()) {
      yes = script.front();
      script.pop_front();
    }
    questions.push_back({kind, text, caption, yes});
    events.push_back(kind + "?");
    return yes;
  }
};

}  // namespace tarn::test
