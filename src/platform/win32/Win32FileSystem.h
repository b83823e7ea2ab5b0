#pragma once
// Files on the real Win32 API (ANSI paths).

#include "platform/FileSystem.h"

namespace tarn::platform {

class Win32FileSystem : public FileSystem {
 public:
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override;
};

}  // namespace tarn::platform
