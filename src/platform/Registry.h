#pragma once
// The system registry as the core sees it: predefined roots, open keys, typed values. Key and
// value names are byte strings in the ANSI code page and are matched without regard to the
// case of ASCII letters.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarn::platform {

// The predefined root keys, with the handle values the system gives them.
enum class RootKey : std::uint32_t {
  ClassesRoot = 0x80000000,
  CurrentUser = 0x80000001,
  LocalMachine = 0x80000002,
  Users = 0x80000003,
  CurrentConfig = 0x80000005,
};

// What a key is opened for. A key opened for writing cannot be read from, and the reverse.
enum class RegistryAccess {
  Read,       // query values
  Write,      // set and delete values, create subkeys
  AllAccess,  // both
};

enum class RegistryValueType : std::uint32_t {
  String = 1,        // REG_SZ
  ExpandString = 2,  // REG_EXPAND_SZ
  Binary = 3,        // REG_BINARY
  Dword = 4,         // REG_DWORD, little-endian
};

struct RegistryValue {
  RegistryValueType type = RegistryValueType::Binary;
  std::string data;  // the raw bytes as stored, terminating zeros of strings included
};

// What a key holds: the names of its subkeys and the number of its values.
struct KeyContents {
  std::vector<std::string> subKeys;
  std::size_t values = 0;
};

// An open key. Closed when the object is destroyed (a predefined root is never closed).
class RegistryKeyHandle {
 public:
  virtual ~RegistryKeyHandle() = default;
  // Opens an existing key below this one; `path` may hold several backslash-separated names,
  // and an empty path opens this key again.
  virtual std::unique_ptr<RegistryKeyHandle> OpenSubKey(const std::string& path,
                                                        RegistryAccess access) = 0;
  // Opens the key below this one, creating it (and any missing keys on its path) if needed.
  virtual std::unique_ptr<RegistryKeyHandle> CreateSubKey(const std::string& path) = 0;
  // Deletes the subkey `name` of this key; fails while that subkey has subkeys of its own.
  virtual bool DeleteSubKey(const std::string& name) = 0;
  virtual bool DeleteValue(const std::string& name) = 0;
  // Nothing when the value does not exist or the key was not opened for reading. The empty
  // name is the key's default value.
  virtual std::optional<RegistryValue> QueryValue(const std::string& name) = 0;
  virtual bool SetValue(const std::string& name, RegistryValueType type,
                        const std::string& data) = 0;
  // Nothing when the key was not opened for reading or cannot be listed.
  virtual std::optional<KeyContents> Contents() = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // A handle on a predefined root, for opening and creating keys below it. Null for a value
  // that is not one of the roots.
  virtual std::unique_ptr<RegistryKeyHandle> Root(RootKey root) = 0;
};

}  // namespace tarn::platform
