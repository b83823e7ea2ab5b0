#include "support/win32/RegistryValues.h"

#include <vector>

namespace tarn::test {

OpenKey::OpenKey(HKEY root, const std::string& path) {
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
}

OpenKey::~OpenKey() {
  if (key_) RegCloseKey(key_);
}

std::ostream& operator<<(std::ostream& out, const RawValue& v) {
  return out << "type " << v.type << " [" << v.data << "]";
}

std::optional<RawValue> ReadValue(HKEY root, const std::string& path, const std::string& name) {
  OpenKey key(root, path);
  if (!key) return std::nullopt;
  RawValue value;
  std::vector<char> data(4096);
  DWORD size = static_cast<DWORD>(data.size());
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.type,
                       reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.data.assign(data.data(), size);
  return value;
}

RawValue Sz(const std::string& text) { return {REG_SZ, text + '\0'}; }

bool KeyExists(HKEY root, const std::string& path) {
  return static_cast<bool>(OpenKey(root, path));
}

bool WriteValue(HKEY root, const std::string& path, const std::string& name,
                const RawValue& value) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
  const LONG status = RegSetValueExA(key, name.c_str(), 0, value.type,
                                     reinterpret_cast<const BYTE*>(value.data.data()),
                                     static_cast<DWORD>(value.data.size()));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

void DeleteTree(HKEY root, const std::string& path) {
  {
    OpenKey key(root, path);
    if (!key) return;
    std::vector<std::string> children;
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD size = sizeof name;
      if (RegEnumKeyExA(key.Get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      children.emplace_back(name, size);
    }
    for (const auto& child : children) DeleteTree(root, path + "\\" + child);
  }
  RegDeleteKeyA(root, path.c_str());
}

void DeleteValue(HKEY root, const std::string& path, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, name.c_str());
  RegCloseKey(key);
}

void DeleteIfEmpty(HKEY root, const std::string& path) {
  OpenKey key(root, path);
  if (!key) return;
  DWORD subKeys = 0, values = 0;
  if (RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
      subKeys == 0 && values == 0)
    RegDeleteKeyA(root, path.c_str());
}

}  // namespace tarn::test
