#pragma once
// An environment variable of this process, set for the length of a test (inherited by the
// programs it starts) and put back afterwards.

#include <windows.h>

#include <optional>
#include <string>

namespace tarn::test {

class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string name, const std::string& value) : name_(std::move(name)) {
    char old[1024];
    const DWORD length = GetEnvironmentVariableA(name_.c_str(), old, sizeof old);
    if (length > 0 && length < sizeof old) old_ = std::string(old, length);
    SetEnvironmentVariableA(name_.c_str(), value.c_str());
  }
  ~ScopedEnvironment() { SetEnvironmentVariableA(name_.c_str(), old_ ? old_->c_str() : nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace tarn::test
