#include "support/win32/ShellFolderRegistry.h"

#include "text/ByteText.h"

namespace tarn::test {

namespace {

constexpr char kShellFolders[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

using Overrides = std::vector<ShellFolderRegistry::Override>;

class Key : public platform::RegistryKeyHandle {
 public:
  Key(std::unique_ptr<platform::RegistryKeyHandle> inner, std::string path,
      const Overrides& overrides)
      : inner_(std::move(inner)), path_(std::move(path)), overrides_(overrides) {}

  std::unique_ptr<platform::RegistryKeyHandle> OpenSubKey(
      const std::string& path, platform::RegistryAccess access) override {
    return Wrap(inner_->OpenSubKey(path, access), path);
  }
  std::unique_ptr<platform::RegistryKeyHandle> CreateSubKey(const std::string& path) override {
    return Wrap(inner_->CreateSubKey(path), path);
  }
  bool DeleteSubKey(const std::string& name) override { return inner_->DeleteSubKey(name); }
  bool DeleteValue(const std::string& name) override { return inner_->DeleteValue(name); }
  std::optional<platform::KeyContents> Contents() override { return inner_->Contents(); }
  std::optional<platform::RegistryValue> QueryValue(const std::string& name) override {
    if (text::EqualsIgnoreAsciiCase(path_, kShellFolders)) {
      for (const auto& o : overrides_) {
        if (text::EqualsIgnoreAsciiCase(name, o.name))
          return platform::RegistryValue{platform::RegistryValueType::String, o.value + '\0'};
      }
    }
    return inner_->QueryValue(name);
  }
  bool SetValue(const std::string& name, platform::RegistryValueType type,
                const std::string& data) override {
    return inner_->SetValue(name, type, data);
  }

 private:
  std::unique_ptr<platform::RegistryKeyHandle> Wrap(
      std::unique_ptr<platform::RegistryKeyHandle> key, std::string sub) {
    if (!key) return nullptr;
    while (!sub.empty() && sub.front() == '\\') sub.erase(0, 1);
    while (!sub.empty() && sub.back() == '\\') sub.pop_back();
    const std::string path = sub.empty() ? path_ : path_.empty() ? sub : path_ + "\\" + sub;
    return std::make_unique<Key>(std::move(key), path, overrides_);
  }

  std::unique_ptr<platform::RegistryKeyHandle> inner_;
  std::string path_;
  const Overrides& overrides_;
};

}  // namespace

std::unique_ptr<platform::RegistryKeyHandle> ShellFolderRegistry::Root(platform::RootKey root) {
  auto inner = real_.Root(root);
  if (!inner) return nullptr;
  // Only keys below HKEY_LOCAL_MACHINE can be the shell folders key.
  return std::make_unique<Key>(std::move(inner),
                               root == platform::RootKey::LocalMachine ? "" : "\x01", overrides_);
}

}  // namespace tarn::test
