#pragma once
// Which paths a record may have removed: absolute local paths inside the folders its tokens
// stand for on this machine, never behind a reparse point.

#include <optional>
#include <string>
#include <vector>

#include "engine/session/SetupSession.h"
#include "uninstall/RemovalServices.h"

namespace tarn::uninstall {

// "C:\a\b": a drive letter, a colon, a backslash; no "." or ".." part, no empty part, no
// wildcard, no forward slash. Network paths ("\\server\share") are not local.
bool IsAbsoluteLocalPath(const std::string& path, std::uint32_t codePage);

class AllowedFolders {
 public:
  // The expansions of the folder tokens, the Quick Launch folders and the program group, with
  // the session's installation folder.
  explicit AllowedFolders(engine::SetupSession& s);
  // The allowed folder that holds `path` (or is `path`), or nothing.
  std::optional<std::string> FolderOf(const std::string& path) const;
  // Whether a folder between the allowed folder and `path`, `path` included, is a reparse
  // point: what lies behind it is somewhere else.
  bool BehindReparsePoint(const std::string& path, RemovalServices& services) const;

 private:
  std::vector<std::string> folders_;
  std::uint32_t codePage_;
};

}  // namespace tarn::uninstall
