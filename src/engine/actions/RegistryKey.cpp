#include "engine/actions/RegistryKey.h"

#include <utility>

#include "text/ByteText.h"

namespace tarn::engine {

using platform::RegistryAccess;
using platform::RegistryValueType;

namespace {

struct RootName {
  const char* name;
  platform::RootKey root;
};

constexpr RootName kRootNames[] = {
    {"HKEY_CLASSES_ROOT", platform::RootKey::ClassesRoot},
    {"HKEY_CURRENT_USER", platform::RootKey::CurrentUser},
    {"HKEY_LOCAL_MACHINE", platform::RootKey::LocalMachine},
    {"HKEY_USERS", platform::RootKey::Users},
    {"HKEY_CURRENT_CONFIG", platform::RootKey::CurrentConfig},
};

std::string DropLeadingBackslash(const std::string& path) {
  return !path.empty() && path[0] == '\\' ? path.substr(1) : path;
}

// Strings are stored with their terminating zero, so that every reader finds the end.
std::string StringData(const std::string& text) { return text + '\0'; }

}  // namespace

RegistryKey::RegistryKey(platform::Registry& registry, std::uint32_t codePage,
                         platform::RootKey root)
    : registry_(registry), codePage_(codePage), root_(root) {}

RegistryKey::~RegistryKey() = default;

void RegistryKey::SetRootByName(const std::string& name) {
  const std::string upper = text::AsciiUpper(name);
  for (const auto& entry : kRootNames) {
    if (upper == entry.name) root_ = entry.root;
  }
}

bool RegistryKey::OpenPath(const std::string& path, bool create) {
  // The key held so far is closed first, also when the new path cannot be opened, so a
  // failed open never leaves writes going to an unrelated key.
  Close();
  auto root = registry_.Root(root_);
  if (!root) return false;
  const std::string relative = DropLeadingBackslash(path);
  key_ = root->OpenSubKey(relative, RegistryAccess::AllAccess);
  if (!key_ && create) key_ = WalkAndCreate(relative);
  return key_ != nullptr;
}

std::unique_ptr<platform::RegistryKeyHandle> RegistryKey::WalkAndCreate(const std::string& path) {
  auto root = registry_.Root(root_);
  // The key of the previous step; each step's key replaces (and closes) the one before.
  std::unique_ptr<platform::RegistryKeyHandle> previous = registry_.Root(root_);
  std::string accumulated;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = text::FindChar(path, '\\', codePage_, start);
    if (end == text::npos) end = path.size();
    const std::string component = path.substr(start, end - start);
    start = end + 1;
    if (component.empty()) continue;
    accumulated = accumulated.empty() ? component : accumulated + "\\" + component;
    auto step = root->OpenSubKey(accumulated, RegistryAccess::Write);
    if (!step && previous) step = previous->CreateSubKey(component);
    previous = std::move(step);
  }
  return previous;
}

bool RegistryKey::OpenParentOf(const std::string& path, std::string& last) {
  const std::size_t split = text::FindLastChar(path, '\\', codePage_);
  if (split == text::npos) {
    last = path;
    return OpenPath(std::string(), true);
  }
  last = path.substr(split + 1);
  return OpenPath(path.substr(0, split), true);
}

bool RegistryKey::DeleteKey(const std::string& path) {
  std::string name;
  if (!OpenParentOf(path, name) || name.empty()) return false;
  return key_->DeleteSubKey(name);
}

bool RegistryKey::DeleteValue(const std::string& path) {
  std::string name;
  if (!OpenParentOf(path, name)) return false;
  return key_->DeleteValue(name);
}

std::string RegistryKey::QueryString(const std::string& name) {
  if (!key_) return {};
  auto value = key_->QueryValue(name);
  if (!value || value->data.size() > kQueryLimit) return {};
  // Readers see the text up to its terminating zero.
  const std::size_t zero = value->data.find('\0');
  return zero == std::string::npos ? value->data : value->data.substr(0, zero);
}

std::uint32_t RegistryKey::QueryDword(const std::string& name) {
  if (!key_) return 0;
  auto value = key_->QueryValue(name);
  if (!value || value->data.size() > 4) return 0;
  std::uint32_t result = 0;
  for (std::size_t i = 0; i < value->data.size(); ++i) {
    result |= static_cast<std::uint32_t>(static_cast<unsigned char>(value->data[i])) << (8 * i);
  }
  return result;
}

bool RegistryKey::SetString(const std::string& name, const std::string& text) {
  return key_ && key_->SetValue(name, RegistryValueType::String, StringData(text));
}

bool RegistryKey::SetExpandString(const std::string& name, const std::string& text) {
  return key_ && key_->SetValue(name, RegistryValueType::ExpandString, StringData(text));
}

bool RegistryKey::SetDword(const std::string& name, std::uint32_t value) {
  std::string data(4, '\0');
  for (std::size_t i = 0; i < 4; ++i) data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return key_ && key_->SetValue(name, RegistryValueType::Dword, data);
}

bool RegistryKey::SetBinary(const std::string& name, const std::string& hexText) {
  const auto bytes = ParseHexBytes(hexText);
  if (!key_ || !bytes) return false;
  return key_->SetValue(name, RegistryValueType::Binary, std::string(bytes->begin(), bytes->end()));
}

bool RegistryKey::RemoveValue(const std::string& name) { return key_ && key_->DeleteValue(name); }

bool RegistryKey::RemoveSubKey(const std::string& name) {
  return key_ && !name.empty() && key_->DeleteSubKey(name);
}

std::optional<platform::KeyContents> RegistryKey::Contents() {
  if (!key_) return std::nullopt;
  return key_->Contents();
}

void RegistryKey::Close() { key_.reset(); }

std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view text) {
  if (text.size() > kMaxHexTextLength) return std::nullopt;
  const std::string upper = text::AsciiUpper(text);
  std::vector<std::uint8_t> bytes;
  std::size_t pos = 0;
  while (pos < upper.size()) {
    if (upper[pos] == ' ') {
      ++pos;
      continue;
    }
    std::size_t end = upper.find(' ', pos);
    if (end == std::string::npos) end = upper.size();
    // Only the low eight bits count, so the value is kept modulo 256 as it is read.
    std::uint8_t value = 0;
    for (std::size_t i = pos; i < end; ++i) {
      const int digit = text::HexDigitValue(upper[i]);
      if (digit < 0) {
        value = 0;
        break;
      }
      value = static_cast<std::uint8_t>(value * 16 + digit);
    }
    bytes.push_back(value);
    pos = end;
  }
  return bytes;
}

}  // namespace tarn::engine
