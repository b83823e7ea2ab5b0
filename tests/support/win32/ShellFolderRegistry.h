#pragma once
// The real registry, except that chosen values of the shell folders key read as given: the
// start menu and the common application data (from which the Quick Launch folders derive)
// would otherwise be the prefix's own.

#include <memory>
#include <string>
#include <vector>

#include "platform/win32/Win32Registry.h"

namespace tarn::test {

class ShellFolderRegistry : public platform::Registry {
 public:
  struct Override {
    std::string name;
    std::string value;
  };

  explicit ShellFolderRegistry(std::vector<Override> overrides)
      : overrides_(std::move(overrides)) {}

  std::unique_ptr<platform::RegistryKeyHandle> Root(platform::RootKey root) override;

 private:
  platform::Win32Registry real_;
  std::vector<Override> overrides_;
};

}  // namespace tarn::test
