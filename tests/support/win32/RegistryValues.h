#pragma once
// The real registry read and tidied through the system's own calls, for tests that check what
// the installation wrote and put the prefix back as they found it.

#include <windows.h>

#include <optional>
#include <ostream>
#include <string>

namespace tarn::test {

// A registry key opened for reading, closed when it goes.
class OpenKey {
 public:
  OpenKey(HKEY root, const std::string& path);
  ~OpenKey();
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  explicit operator bool() const { return key_ != nullptr; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

struct RawValue {
  DWORD type = 0;
  std::string data;
  bool operator==(const RawValue& o) const { return type == o.type && data == o.data; }
};

std::ostream& operator<<(std::ostream& out, const RawValue& v);

// A value with its type and data as stored; nothing when the key or the value is missing.
std::optional<RawValue> ReadValue(HKEY root, const std::string& path, const std::string& name);
// A string value as stored: the text and its terminating zero.
RawValue Sz(const std::string& text);
bool KeyExists(HKEY root, const std::string& path);

// Writes a value into an existing key; false when the key cannot be opened or written.
bool WriteValue(HKEY root, const std::string& path, const std::string& name, const RawValue& value);
// Deletes a key with everything below it; "no such key" counts as done.
void DeleteTree(HKEY root, const std::string& path);
void DeleteValue(HKEY root, const std::string& path, const std::string& name);
// Deletes a key only when nothing is left below it.
void DeleteIfEmpty(HKEY root, const std::string& path);

}  // namespace tarn::test
