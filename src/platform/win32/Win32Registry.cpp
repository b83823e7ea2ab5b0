#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include "platform/win32/Win32Toolkit.h"

namespace tarn::platform {

namespace {

REGSAM SamFor(RegistryAccess access) {
  switch (access) {
    case RegistryAccess::Read:
      return KEY_READ;
    case RegistryAccess::Write:
      return KEY_WRITE;
    case RegistryAccess::AllAccess:
      break;
  }
  return KEY_ALL_ACCESS;
}

class Win32Key : public RegistryKeyHandle {
 public:
  // `owned` is false for the predefined roots, which are never closed.
  Win32Key(HKEY key, bool owned) : key_(key), owned_(owned ? key : nullptr) {}

  std::unique_ptr<RegistryKeyHandle> OpenSubKey(const std::string& path,
                                                RegistryAccess access) override {
    HKEY key = nullptr;
    if (RegOpenKeyExA(key_, path.c_str(), 0, SamFor(access), &key) != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32Key>(key, true);
  }

  std::unique_ptr<RegistryKeyHandle> CreateSubKey(const std::string& path) override {
    HKEY key = nullptr;
    if (RegCreateKeyA(key_, path.c_str(), &key) != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32Key>(key, true);
  }

  bool DeleteSubKey(const std::string& name) override {
    return RegDeleteKeyA(key_, name.c_str()) == ERROR_SUCCESS;
  }

  bool DeleteValue(const std::string& name) override {
    return RegDeleteValueA(key_, name.c_str()) == ERROR_SUCCESS;
  }

  std::optional<RegistryValue> QueryValue(const std::string& name) override {
    // The value may change between asking its size and reading it: retry while it grows.
    for (int attempt = 0; attempt < 4; ++attempt) {
      DWORD type = 0;
      DWORD size = 0;
      if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
      std::string data(size, '\0');
      const LONG status =
          RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(data.empty() ? nullptr : data.data()), &size);
      if (status == ERROR_MORE_DATA) continue;
      if (status != ERROR_SUCCESS) return std::nullopt;
      data.resize(size);
      return RegistryValue{static_cast<RegistryValueType>(type), std::move(data)};
    }
    return std::nullopt;
  }

  bool SetValue(const std::string& name, RegistryValueType type, const std::string& data) override {
    return RegSetValueExA(key_, name.c_str(), 0, static_cast<DWORD>(type),
                          reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
  }

  std::optional<KeyContents> Contents() override {
    DWORD subKeys = 0, values = 0, longest = 0;
    if (RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, &subKeys, &longest, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return std::nullopt;
    KeyContents contents;
    contents.values = values;
    std::string name(longest + 1, '\0');
    for (DWORD i = 0; i < subKeys; ++i) {
      DWORD size = static_cast<DWORD>(name.size());
      if (RegEnumKeyExA(key_, i, name.data(), &size, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        return std::nullopt;
      contents.subKeys.push_back(name.substr(0, size));
    }
    return contents;
  }

 private:
  HKEY key_;
  RegistryKey owned_;
};

}  // namespace

std::unique_ptr<RegistryKeyHandle> Win32Registry::Root(RootKey root) {
  HKEY key = nullptr;
  switch (root) {
    case RootKey::ClassesRoot:
      key = HKEY_CLASSES_ROOT;
      break;
    case RootKey::CurrentUser:
      key = HKEY_CURRENT_USER;
      break;
    case RootKey::LocalMachine:
      key = HKEY_LOCAL_MACHINE;
      break;
    case RootKey::Users:
      key = HKEY_USERS;
      break;
    case RootKey::CurrentConfig:
      key = HKEY_CURRENT_CONFIG;
      break;
  }
  if (!key) return nullptr;
  return std::make_unique<Win32Key>(key, false);
}

}  // namespace tarn::platform
