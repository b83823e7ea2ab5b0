#pragma once
// Folders whose files other programs share: files there are never asked about when they cannot
// be written, and never taken back by a roll-back.

#include <cstdint>
#include <string>

#include "engine/session/SetupSession.h"

namespace tarn::engine {

// The shared database-engine folder, always named on drive C: as older packages expect.
constexpr const char* kSharedEngineFolder = "C:\\Program Files\\Common Files\\Borland Shared\\BDE";

// The shared database-engine folder and one folder of Windows, given by its path token. The
// two uses differ in that folder: a write error is not asked about under the system folder,
// while the roll-back keeps everything under the Windows folder.
class SharedFolders {
 public:
  SharedFolders(SetupSession& s, const char* windowsFolderToken);
  // ASCII letters in any case; the match may start anywhere in `path`.
  bool Contain(const std::string& path) const;

  static SharedFolders ForWriteErrors(SetupSession& s) {
    return SharedFolders(s, "[System Directory]");
  }
  static SharedFolders ForRollBack(SetupSession& s) {
    return SharedFolders(s, "[Windows Directory]");
  }

 private:
  std::string windows_;
  std::uint32_t codePage_;
};

}  // namespace tarn::engine
