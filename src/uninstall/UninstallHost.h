#pragma once
// How a removal reports its progress to whoever shows it.

#include <cstdint>
#include <string>

namespace tarn::uninstall {

class UninstallHost {
 public:
  virtual ~UninstallHost() = default;
  virtual void ShowStatus(const std::string& text) = 0;
  virtual void ShowProgress(std::int32_t percent) = 0;
};

}  // namespace tarn::uninstall
