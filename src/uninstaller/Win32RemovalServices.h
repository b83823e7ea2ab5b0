#pragma once
// Reparse points and removal at the next restart on the Win32 API.

#include "uninstall/RemovalServices.h"

namespace tarn::uninstaller {

class Win32RemovalServices : public uninstall::RemovalServices {
 public:
  bool IsReparsePoint(const std::string& path) override;
  bool RemoveAtRestart(const std::string& path) override;
};

}  // namespace tarn::uninstaller
