#include "engine/log/LoggingRegistry.h"

#include "package/LittleEndian.h"
#include "text/ByteText.h"
#include "text/Digits.h"

namespace tarn::engine {

namespace {

using platform::RegistryKeyHandle;
using platform::RegistryValueType;

const char* RootName(platform::RootKey root) {
  switch (root) {
    case platform::RootKey::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case platform::RootKey::CurrentUser:
      return "HKEY_CURRENT_USER";
    case platform::RootKey::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case platform::RootKey::Users:
      return "HKEY_USERS";
    case platform::RootKey::CurrentConfig:
      return "HKEY_CURRENT_CONFIG";
  }
  return "HKEY_?";
}

std::string Below(const std::string& path, const std::string& sub) {
  const std::size_t skip = sub.find_first_not_of('\\');
  if (skip == std::string::npos) return path;
  return path + "\\" + sub.substr(skip);
}

class LoggingKey : public RegistryKeyHandle {
 public:
  LoggingKey(std::unique_ptr<RegistryKeyHandle> inner, InstallLog& log, std::string path)
      : inner_(std::move(inner)), log_(log), path_(std::move(path)) {}

  std::unique_ptr<RegistryKeyHandle> OpenSubKey(const std::string& path,
                                                platform::RegistryAccess access) override {
    return Wrap(inner_->OpenSubKey(path, access), path);
  }
  std::unique_ptr<RegistryKeyHandle> CreateSubKey(const std::string& path) override {
    return Wrap(inner_->CreateSubKey(path), path);
  }
  bool DeleteSubKey(const std::string& name) override {
    const bool ok = inner_->DeleteSubKey(name);
    if (log_.IsOpen())
      log_.Line(std::string(ok ? "Registry key deleted: " : "Registry key not deleted: ") +
                Below(path_, name));
    return ok;
  }
  bool DeleteValue(const std::string& name) override {
    const bool ok = inner_->DeleteValue(name);
    if (log_.IsOpen())
      log_.Line(std::string(ok ? "Registry value deleted: " : "Registry value not deleted: ") +
                path_ + " " + text::Quoted(name));
    return ok;
  }
  std::optional<platform::RegistryValue> QueryValue(const std::string& name) override {
    return inner_->QueryValue(name);
  }
  std::optional<platform::KeyContents> Contents() override { return inner_->Contents(); }
  bool SetValue(const std::string& name, RegistryValueType type, const std::string& data) override {
    const bool ok = inner_->SetValue(name, type, data);
    if (log_.IsOpen())
      log_.Line(std::string(ok ? "Registry value written: " : "Registry value not written: ") +
                path_ + " " + text::Quoted(name) + " = " + DescribeRegistryValue(type, data));
    return ok;
  }

 private:
  std::unique_ptr<RegistryKeyHandle> Wrap(std::unique_ptr<RegistryKeyHandle> key,
                                          const std::string& sub) {
    if (!key) return nullptr;
    return std::make_unique<LoggingKey>(std::move(key), log_, Below(path_, sub));
  }

  std::unique_ptr<RegistryKeyHandle> inner_;
  InstallLog& log_;
  std::string path_;
};

std::string WithoutTerminator(std::string text) {
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

}  // namespace

std::unique_ptr<RegistryKeyHandle> LoggingRegistry::Root(platform::RootKey root) {
  auto key = inner_.Root(root);
  if (!key) return nullptr;
  return std::make_unique<LoggingKey>(std::move(key), log_, RootName(root));
}

std::string DescribeRegistryValue(RegistryValueType type, const std::string& data) {
  switch (type) {
    case RegistryValueType::String:
      return "REG_SZ " + text::Quoted(WithoutTerminator(data));
    case RegistryValueType::ExpandString:
      return "REG_EXPAND_SZ " + text::Quoted(WithoutTerminator(data));
    case RegistryValueType::Dword:
      if (data.size() == 4) {
        const std::uint32_t value =
            package::LoadLe32(reinterpret_cast<const std::uint8_t*>(data.data()));
        return "REG_DWORD " + text::ZeroPadded(value) + " (0x" + text::HexDigits(value, 8, true) +
               ")";
      }
      break;
    default:
      break;
  }
  constexpr std::size_t kShownBytes = 32;
  std::string text = "REG_BINARY";
  for (std::size_t i = 0; i < data.size() && i < kShownBytes; ++i)
    text += " " + text::HexDigits(static_cast<unsigned char>(data[i]), 2, true);
  if (data.size() > kShownBytes) text += " ... (" + std::to_string(data.size()) + " bytes)";
  return text;
}

}  // namespace tarn::engine
