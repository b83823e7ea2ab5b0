#pragma once
// The registry with every change written to the installation log: values set and deleted,
// keys deleted, each with its full path. Reads and the keys made on the way to a value are not
// logged; they change nothing an administrator would look for.

#include "engine/log/InstallLog.h"
#include "platform/Registry.h"

namespace tarn::engine {

class LoggingRegistry : public platform::Registry {
 public:
  LoggingRegistry(platform::Registry& inner, InstallLog& log) : inner_(inner), log_(log) {}
  std::unique_ptr<platform::RegistryKeyHandle> Root(platform::RootKey root) override;

 private:
  platform::Registry& inner_;
  InstallLog& log_;
};

// How the log shows a value's data: strings as text, numbers in decimal and hexadecimal,
// binary data as bytes in hexadecimal (the first 32 of them).
std::string DescribeRegistryValue(platform::RegistryValueType type, const std::string& data);

}  // namespace tarn::engine
