#pragma once
// The registry on the real Win32 API (ANSI names).

#include "platform/Registry.h"

namespace tarn::platform {

class Win32Registry : public Registry {
 public:
  std::unique_ptr<RegistryKeyHandle> Root(RootKey root) override;
};

}  // namespace tarn::platform
