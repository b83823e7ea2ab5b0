#pragma once
// One installation in the Wine prefix on the real Win32 platform: a package that the package
// builder makes from an author's project (files of every kind, registry operations, shortcuts
// in every place, the uninstall registration), loaded as start-up does, with unique registry
// names per scene and every registry change undone when the scene ends.

#include <optional>
#include <string>

#include "engine/session/SetupSession.h"
#include "support/ScratchFolder.h"
#include "support/ScriptedInstallHost.h"
#include "support/win32/RegistryValues.h"
#include "support/win32/ScopedEnvironment.h"
#include "support/win32/ScratchWin32Platform.h"

namespace tarn::test {

inline constexpr char kProductRoot[] = "SOFTWARE\\TarnSoft\\TarnInstall";

class Win32InstallScene {
 public:
  Win32InstallScene();
  ~Win32InstallScene();
  Win32InstallScene(const Win32InstallScene&) = delete;
  Win32InstallScene& operator=(const Win32InstallScene&) = delete;

  // Writes the author's project and its source files, builds the package with the builder and
  // loads it as start-up does. Empty on success, else what went wrong.
  std::string BuildAndLoad();

  std::string Path(const std::string& relative) const { return dir.Path(relative); }
  std::string InstallDir() const { return dir.Path("Program Files\\App"); }
  std::string Installed(const std::string& relative) const {
    return InstallDir() + "\\" + relative;
  }
  std::string Group() const { return dir.Path("Start Menu\\Programs\\Group " + id_); }

  // The packaged raw.bin: every byte value, a line end and an end-of-file mark.
  static const std::string kRawBytes;

  ScratchFolder dir;
  std::string testKey, company, project, title, productKey;

 private:
  std::string id_;
  bool hadProductRoot_ = false;
  bool hadRecordExtension_ = false;
  bool hadRecordType_ = false;
  std::optional<RawValue> oldLastVersion_;
  // The kind-L program reports to the marker file and exits with 0.
  ScopedEnvironment marker_;
  ScopedEnvironment exitCode_;

 public:
  ScratchWin32Platform machine{dir};
  ScriptedInstallHost host;
  engine::SetupSession session{machine.Services()};
};

}  // namespace tarn::test
