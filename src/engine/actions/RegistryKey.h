#pragma once
// The holder every registry user goes through: one root and at most one open key, with path
// creation, queries, writes and deletion. Each user owns its own holder; holders are not copied.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace tarn::engine {

class RegistryKey {
 public:
  // Longest value text QueryString returns, terminating zero included; longer values read as "".
  static constexpr std::size_t kQueryLimit = 2048;

  // `codePage` is the ANSI code page that key paths are written in, so that a backslash byte
  // inside a double-byte character never splits a path.
  RegistryKey(platform::Registry& registry, std::uint32_t codePage,
              platform::RootKey root = platform::RootKey::LocalMachine);
  ~RegistryKey();
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // "HKEY_CURRENT_USER" and the other root names, in any letter case; other names leave the
  // root as it is.
  void SetRootByName(const std::string& name);
  platform::RootKey Root() const { return root_; }

  // Opens "\A\B\C" below the root, replacing (and closing) the key held so far. With `create`,
  // missing keys along the path are created one by one. True when a key is held afterwards.
  bool OpenPath(const std::string& path, bool create);
  // Deletes the last component of `path` below the key its leading part opens (created if
  // missing, and held afterwards). A key that still has subkeys stays.
  bool DeleteKey(const std::string& path);
  // Deletes the value named by the last component of `path` the same way.
  bool DeleteValue(const std::string& path);

  // "" when nothing is open, the value is missing or longer than the limit.
  std::string QueryString(const std::string& name);
  // 0 when nothing is open or the value is missing or longer than four bytes.
  std::uint32_t QueryDword(const std::string& name);
  bool SetString(const std::string& name, const std::string& text);
  bool SetExpandString(const std::string& name, const std::string& text);
  bool SetDword(const std::string& name, std::uint32_t value);
  // Writes the bytes of a hexadecimal text such as "01 0A ff" (see ParseHexBytes). A text too
  // long for the parser writes nothing and gives false.
  bool SetBinary(const std::string& name, const std::string& hexText);

  // Deletes the value `name` of the open key; the name is taken whole, backslashes included.
  bool RemoveValue(const std::string& name);
  // Deletes the subkey `name` of the open key, if it has no subkeys of its own.
  bool RemoveSubKey(const std::string& name);
  // The subkeys and the number of values of the open key; nothing when none is open.
  std::optional<platform::KeyContents> Contents();

  void Close();
  bool IsOpen() const { return key_ != nullptr; }

 private:
  std::unique_ptr<platform::RegistryKeyHandle> WalkAndCreate(const std::string& path);
  // Splits at the last backslash and opens (creating) the part before it.
  bool OpenParentOf(const std::string& path, std::string& last);

  platform::Registry& registry_;
  std::uint32_t codePage_;
  platform::RootKey root_;
  std::unique_ptr<platform::RegistryKeyHandle> key_;
};

// Longest hexadecimal text SetBinary accepts.
constexpr std::size_t kMaxHexTextLength = 4000;

// Bytes of a text of space-separated hexadecimal numbers: each token gives the low eight bits
// of its value; a token with any character other than a hexadecimal digit gives 0. Runs of
// spaces separate like one. Empty for an empty text; nothing for a text longer than
// kMaxHexTextLength.
std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view text);

}  // namespace tarn::engine
