#pragma once
// A session for the shortcut tests, built from fakes: the shell folders of the start menu, a
// language file, and a project whose Task 2404 holds the shortcuts given, as the worker leaves
// it before the shortcut stage.

#include <memory>
#include <string>
#include <vector>

#include "engine/session/SetupSession.h"
#include "support/FakeMachine.h"

namespace tarn::test {

class ShortcutScene : public FakeMachine {
 public:
  struct Shortcut {
    std::string id;
    std::string description;
    std::string file;
    std::string flags;  // letters: g group, d desktop, s startup, q quick launch, x finish page
  };

  inline static const std::string kDesktop = "C:\\Documents and Settings\\ann\\Desktop\\";
  inline static const std::string kStartup = "C:\\All Users\\Start Menu\\Programs\\Autostart\\";
  inline static const std::string kGroup = "C:\\All Users\\Start Menu\\Programs\\Demo\\";
  inline static const std::string kQuick1 = "C:\\All Users\\Quick Launch\\";
  inline static const std::string kQuick2 = "C:\\ann\\Quick Launch\\";
  static constexpr const char* kShellFolders =
      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

  ShortcutScene();

  // Where "[Startup]" finds the start menu and the startup folder's name.
  void AddShellFolders();
  // A session as the worker leaves it before the shortcut stage, with Task 2404 of `shortcuts`
  // after a first subtask of another type.
  std::unique_ptr<engine::SetupSession> MakeSession(const std::vector<Shortcut>& shortcuts);
  // The paths of the links the shell was asked to make, in order.
  std::vector<std::string> LinkPaths() const;
};

}  // namespace tarn::test
