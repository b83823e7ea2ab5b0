#pragma once
// A shell that does nothing but write down what it was asked to do, answering with scripted
// results.

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Shell.h"

namespace tarn::test {

class RecordingShell : public platform::Shell {
 public:
  struct Call {
    // "link", "open", "start", "run", "message", "font", "font-change", "thread", "restart"
    std::string what;
    std::string path;  // link path, file, or command line
    std::string detail;
    std::int32_t showCommand = 0;
    platform::ShellLink link;  // for "link"
  };

  std::vector<Call> calls;
  bool succeed = true;
  // Exit code of every program RunAndWait runs; nothing: the program cannot be started.
  std::optional<std::uint32_t> exitCode = 0;
  // Called as a program runs, to look at the machine at that moment.
  std::function<void(const std::string&)> onRun;
  // This process's number, and the numbers of the other processes said to be running.
  std::uint32_t processId = 4242;
  std::set<std::uint32_t> running;

  bool CreateShellLink(const platform::ShellLink& link, const std::string& linkPath) override {
    calls.push_back({"link", linkPath, link.target, link.showCommand, link});
    return succeed;
  }
  bool OpenDocument(const std::string& file, const std::string& parameters,
                    const std::string& directory, std::int32_t showCommand) override {
    calls.push_back({"open", file, parameters + "|" + directory, showCommand, {}});
    return succeed;
  }
  bool StartProgram(const std::string& commandLine, std::int32_t showCommand) override {
    calls.push_back({"start", commandLine, {}, showCommand, {}});
    return succeed;
  }
  std::optional<std::uint32_t> RunAndWait(const std::string& commandLine,
                                          std::int32_t showCommand) override {
    calls.push_back({"run", commandLine, {}, showCommand, {}});
    if (onRun) onRun(commandLine);
    return exitCode;
  }
  void ShowMessage(const std::string& text, const std::string& caption) override {
    calls.push_back({"message", text, caption, 0, {}});
  }
  bool AddFont(const std::string& path) override {
    calls.push_back({"font", path, {}, 0, {}});
    return succeed;
  }
  void AnnounceFontChange() override { calls.push_back({"font-change", {}, {}, 0, {}}); }
  std::unique_ptr<platform::ThreadScope> EnterThread() override {
    calls.push_back({"thread", {}, {}, 0, {}});
    return std::make_unique<platform::ThreadScope>();
  }
  bool RestartComputer() override {
    calls.push_back({"restart", {}, {}, 0, {}});
    return succeed;
  }
  std::uint32_t CurrentProcessId() override { return processId; }
  bool IsProcessRunning(std::uint32_t id) override {
    return id == processId || running.count(id) != 0;
  }
};

}  // namespace tarn::test
