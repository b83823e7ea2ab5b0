#pragma once
// What the uninstaller needs from the system beyond the file layer: telling a reparse point
// (a junction or a symbolic link) from a folder, and removing a file or folder at the next
// restart when it is in use now.

#include <string>

namespace tarn::uninstall {

class RemovalServices {
 public:
  virtual ~RemovalServices() = default;
  virtual bool IsReparsePoint(const std::string& path) = 0;
  // Schedules `path` for deletion when the system next starts; false when it cannot.
  virtual bool RemoveAtRestart(const std::string& path) = 0;
};

}  // namespace tarn::uninstall
