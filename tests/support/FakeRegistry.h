#pragma once
// An in-memory registry with the behaviour of the Win32 one that the program relies on: key
// and value names match without regard to ASCII letter case, a key with subkeys cannot be
// deleted, handles of a deleted key fail, and a key opened for writing cannot be read from.
// It counts the handles that are open, so tests can catch leaks.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/Registry.h"

namespace tarn::test {

class FakeRegistry : public platform::Registry {
 public:
  struct Node;

  // Key paths are split at backslashes that are whole characters of `codePage`, as the
  // system does once it has converted a name from the ANSI code page.
  explicit FakeRegistry(std::uint32_t codePage = 1252);
  ~FakeRegistry() override;

  std::unique_ptr<platform::RegistryKeyHandle> Root(platform::RootKey root) override;

  // Test set-up and inspection, by full path "Software\A\B" below a root; no handle is used.
  void AddKey(platform::RootKey root, const std::string& path);
  void PutValue(platform::RootKey root, const std::string& path, const std::string& name,
                platform::RegistryValueType type, const std::string& data);
  void PutString(platform::RootKey root, const std::string& path, const std::string& name,
                 const std::string& text);
  bool HasKey(platform::RootKey root, const std::string& path) const;
  std::optional<platform::RegistryValue> GetValue(platform::RootKey root, const std::string& path,
                                                  const std::string& name) const;
  // Number of subkeys of a key; 0 for a missing key.
  std::size_t SubKeyCount(platform::RootKey root, const std::string& path) const;

  // Handles opened and not yet closed (the roots are not counted).
  int OpenHandles() const { return *openHandles_; }
  // Calls that created a key (only keys that did not exist count).
  int KeysCreated() const { return *keysCreated_; }

 private:
  Node* Find(platform::RootKey root, const std::string& path) const;
  Node& Make(platform::RootKey root, const std::string& path);

  std::uint32_t codePage_;
  std::map<platform::RootKey, std::shared_ptr<Node>> roots_;
  std::shared_ptr<int> openHandles_;
  std::shared_ptr<int> keysCreated_;
};

}  // namespace tarn::test
