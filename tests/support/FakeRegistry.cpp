#include "support/FakeRegistry.h"

#include <utility>
#include <vector>

#include "text/ByteText.h"

namespace tarn::test {

using platform::RegistryAccess;
using platform::RegistryKeyHandle;
using platform::RegistryValue;
using platform::RegistryValueType;

struct FakeRegistry::Node {
  std::map<std::string, std::shared_ptr<Node>> subkeys;  // by upper-cased name
  std::map<std::string, RegistryValue> values;           // by upper-cased name
  bool deleted = false;
};

namespace {

using Node = FakeRegistry::Node;

// The names of a relative key path; nothing for a path the system refuses (leading "\").
std::optional<std::vector<std::string>> SplitPath(const std::string& path, std::uint32_t codePage) {
  if (!path.empty() && path[0] == '\\') return std::nullopt;
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < path.size()) {
    std::size_t end = text::FindChar(path, '\\', codePage, start);
    if (end == text::npos) end = path.size();
    if (end > start) names.push_back(text::AsciiUpper(path.substr(start, end - start)));
    start = end + 1;
  }
  return names;
}

std::shared_ptr<Node> Walk(std::shared_ptr<Node> node, const std::vector<std::string>& names) {
  for (const auto& name : names) {
    if (!node || node->deleted) return nullptr;
    auto it = node->subkeys.find(name);
    if (it == node->subkeys.end()) return nullptr;
    node = it->second;
  }
  return node && !node->deleted ? node : nullptr;
}

struct Counters {
  std::shared_ptr<int> open;
  std::shared_ptr<int> created;
  std::uint32_t codePage;
};

class FakeKey : public RegistryKeyHandle {
 public:
  FakeKey(std::shared_ptr<Node> node, RegistryAccess access, Counters counters, bool counted)
      : node_(std::move(node)), access_(access), counters_(std::move(counters)), counted_(counted) {
    if (counted_) ++*counters_.open;
  }
  ~FakeKey() override {
    if (counted_) --*counters_.open;
  }
  FakeKey(const FakeKey&) = delete;
  FakeKey& operator=(const FakeKey&) = delete;

  std::unique_ptr<RegistryKeyHandle> OpenSubKey(const std::string& path,
                                                RegistryAccess access) override {
    const auto names = SplitPath(path, counters_.codePage);
    if (!names || node_->deleted) return nullptr;
    auto node = Walk(node_, *names);
    if (!node) return nullptr;
    return std::make_unique<FakeKey>(node, access, counters_, true);
  }

  std::unique_ptr<RegistryKeyHandle> CreateSubKey(const std::string& path) override {
    const auto names = SplitPath(path, counters_.codePage);
    if (!names || node_->deleted || !CanWrite()) return nullptr;
    auto node = node_;
    for (const auto& name : *names) {
      auto& slot = node->subkeys[name];
      if (!slot) {
        slot = std::make_shared<Node>();
        ++*counters_.created;
      }
      node = slot;
    }
    return std::make_unique<FakeKey>(node, RegistryAccess::AllAccess, counters_, true);
  }

  bool DeleteSubKey(const std::string& name) override {
    const auto names = SplitPath(name, counters_.codePage);
    if (!names || names->empty() || node_->deleted) return false;
    auto parent = Walk(node_, std::vector<std::string>(names->begin(), names->end() - 1));
    if (!parent) return false;
    auto it = parent->subkeys.find(names->back());
    // The system refuses to delete a key that still has subkeys.
    if (it == parent->subkeys.end() || !it->second->subkeys.empty()) return false;
    it->second->deleted = true;
    parent->subkeys.erase(it);
    return true;
  }

  bool DeleteValue(const std::string& name) override {
    if (node_->deleted || !CanWrite()) return false;
    return node_->values.erase(text::AsciiUpper(name)) > 0;
  }

  std::optional<RegistryValue> QueryValue(const std::string& name) override {
    if (node_->deleted || !CanRead()) return std::nullopt;
    auto it = node_->values.find(text::AsciiUpper(name));
    if (it == node_->values.end()) return std::nullopt;
    return it->second;
  }

  bool SetValue(const std::string& name, RegistryValueType type, const std::string& data) override {
    if (node_->deleted || !CanWrite()) return false;
    node_->values[text::AsciiUpper(name)] = RegistryValue{type, data};
    return true;
  }

  std::optional<platform::KeyContents> Contents() override {
    if (node_->deleted || !CanRead()) return std::nullopt;
    platform::KeyContents contents;
    for (const auto& entry : node_->subkeys) contents.subKeys.push_back(entry.first);
    contents.values = node_->values.size();
    return contents;
  }

 private:
  bool CanRead() const { return access_ != RegistryAccess::Write; }
  bool CanWrite() const { return access_ != RegistryAccess::Read; }

  std::shared_ptr<Node> node_;
  RegistryAccess access_;
  Counters counters_;
  bool counted_;
};

}  // namespace

FakeRegistry::FakeRegistry(std::uint32_t codePage)
    : codePage_(codePage),
      openHandles_(std::make_shared<int>(0)),
      keysCreated_(std::make_shared<int>(0)) {
  for (auto root : {platform::RootKey::ClassesRoot, platform::RootKey::CurrentUser,
                    platform::RootKey::LocalMachine, platform::RootKey::Users,
                    platform::RootKey::CurrentConfig}) {
    roots_[root] = std::make_shared<Node>();
  }
}

FakeRegistry::~FakeRegistry() = default;

std::unique_ptr<RegistryKeyHandle> FakeRegistry::Root(platform::RootKey root) {
  auto it = roots_.find(root);
  if (it == roots_.end()) return nullptr;
  return std::make_unique<FakeKey>(it->second, RegistryAccess::AllAccess,
                                   Counters{openHandles_, keysCreated_, codePage_}, false);
}

Node* FakeRegistry::Find(platform::RootKey root, const std::string& path) const {
  const auto names = SplitPath(path, codePage_);
  auto it = roots_.find(root);
  if (!names || it == roots_.end()) return nullptr;
  return Walk(it->second, *names).get();
}

Node& FakeRegistry::Make(platform::RootKey root, const std::string& path) {
  Node* node = roots_.at(root).get();
  const auto names = SplitPath(path, codePage_).value();
  for (const auto& name : names) {
    auto& slot = node->subkeys[name];
    if (!slot) slot = std::make_shared<Node>();
    node = slot.get();
  }
  return *node;
}

void FakeRegistry::AddKey(platform::RootKey root, const std::string& path) { Make(root, path); }

void FakeRegistry::PutValue(platform::RootKey root, const std::string& path,
                            const std::string& name, RegistryValueType type,
                            const std::string& data) {
  Make(root, path).values[text::AsciiUpper(name)] = RegistryValue{type, data};
}

void FakeRegistry::PutString(platform::RootKey root, const std::string& path,
                             const std::string& name, const std::string& text) {
  PutValue(root, path, name, RegistryValueType::String, text + '\0');
}

bool FakeRegistry::HasKey(platform::RootKey root, const std::string& path) const {
  return Find(root, path) != nullptr;
}

std::optional<RegistryValue> FakeRegistry::GetValue(platform::RootKey root, const std::string& path,
                                                    const std::string& name) const {
  const Node* node = Find(root, path);
  if (!node) return std::nullopt;
  auto it = node->values.find(text::AsciiUpper(name));
  if (it == node->values.end()) return std::nullopt;
  return it->second;
}

std::size_t FakeRegistry::SubKeyCount(platform::RootKey root, const std::string& path) const {
  const Node* node = Find(root, path);
  return node ? node->subkeys.size() : 0;
}

}  // namespace tarn::test
