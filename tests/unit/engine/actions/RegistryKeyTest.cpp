#include "engine/actions/RegistryKey.h"

#include <gtest/gtest.h>

#include "support/FakeRegistry.h"
#include "text/ByteText.h"

namespace tarn::engine {
namespace {

using platform::RegistryValueType;
using platform::RootKey;
using test::FakeRegistry;

constexpr std::uint32_t kAnsi = 1252;

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

TEST(RegistryKey, SetRootByNameTakesKnownNamesInAnyCase) {
  FakeRegistry registry;
  struct Case {
    const char* name;
    RootKey expected;
  } cases[] = {
      {"HKEY_CLASSES_ROOT", RootKey::ClassesRoot},     {"hkey_current_user", RootKey::CurrentUser},
      {"Hkey_Local_Machine", RootKey::LocalMachine},   {"HKEY_USERS", RootKey::Users},
      {"HKEY_CURRENT_CONFIG", RootKey::CurrentConfig},
  };
  for (const auto& c : cases) {
    RegistryKey key(registry, kAnsi, RootKey::Users);
    key.SetRootByName(c.name);
    EXPECT_EQ(key.Root(), c.expected) << c.name;
  }
  // Unknown names, abbreviations and names with extra spaces leave the root alone.
  for (const char* name : {"HKLM", "HKEY_DYN_DATA", " HKEY_USERS", ""}) {
    RegistryKey key(registry, kAnsi, RootKey::CurrentUser);
    key.SetRootByName(name);
    EXPECT_EQ(key.Root(), RootKey::CurrentUser) << name;
  }
}

TEST(RegistryKey, OpenPathWithoutCreateFailsForAMissingKey) {
  FakeRegistry registry;
  registry.AddKey(RootKey::LocalMachine, "Software");
  RegistryKey key(registry, kAnsi);
  EXPECT_FALSE(key.OpenPath("\\Software\\Missing", false));
  EXPECT_FALSE(key.IsOpen());
  EXPECT_FALSE(registry.HasKey(RootKey::LocalMachine, "Software\\Missing"));
  EXPECT_TRUE(key.OpenPath("\\SOFTWARE", false));
  EXPECT_TRUE(key.IsOpen());
}

TEST(RegistryKey, OpenPathWithCreateWalksTheMissingComponents) {
  FakeRegistry registry;
  registry.AddKey(RootKey::LocalMachine, "Software");
  {
    RegistryKey key(registry, kAnsi);
    ASSERT_TRUE(key.OpenPath("\\Software\\A\\B", true));
    EXPECT_TRUE(registry.HasKey(RootKey::LocalMachine, "Software\\A"));
    EXPECT_TRUE(registry.HasKey(RootKey::LocalMachine, "Software\\A\\B"));
    EXPECT_EQ(registry.KeysCreated(), 2);
    // Only the last key is held; the intermediate handles of the walk are closed.
    EXPECT_EQ(registry.OpenHandles(), 1);
    // The held key is the last one: a value lands in B.
    EXPECT_TRUE(key.SetString("v", "x"));
    EXPECT_TRUE(registry.GetValue(RootKey::LocalMachine, "Software\\A\\B", "v"));
  }
  EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST(RegistryKey, OpeningAnotherPathClosesThePreviousKey) {
  FakeRegistry registry;
  registry.AddKey(RootKey::LocalMachine, "Software\\One");
  registry.AddKey(RootKey::LocalMachine, "Software\\Two");
  RegistryKey key(registry, kAnsi);
  ASSERT_TRUE(key.OpenPath("\\Software\\One", false));
  ASSERT_TRUE(key.OpenPath("\\Software\\Two", false));
  EXPECT_EQ(registry.OpenHandles(), 1);
  ASSERT_TRUE(key.SetDword("n", 7));
  EXPECT_TRUE(registry.GetValue(RootKey::LocalMachine, "Software\\Two", "n"));
  EXPECT_FALSE(registry.GetValue(RootKey::LocalMachine, "Software\\One", "n"));
  // A failed open leaves nothing held, so later writes cannot go to the old key.
  EXPECT_FALSE(key.OpenPath("\\Software\\Three", false));
  EXPECT_EQ(registry.OpenHandles(), 0);
  EXPECT_FALSE(key.SetDword("n", 8));
}

TEST(RegistryKey, WalkSplitsOnlyAtWholeBackslashCharacters) {
  // Big5 0xB3 0x5C carries a backslash byte as its trail byte.
  const std::string name = "Prog\xB3\x5C";
  FakeRegistry registry(text::kCodePageBig5);
  RegistryKey key(registry, text::kCodePageBig5);
  ASSERT_TRUE(key.OpenPath("\\Software\\" + name + "\\Sub", true));
  EXPECT_TRUE(registry.HasKey(RootKey::LocalMachine, "Software\\" + name + "\\Sub"));
  EXPECT_EQ(registry.SubKeyCount(RootKey::LocalMachine, "Software"), 1u);
  EXPECT_EQ(registry.KeysCreated(), 3);
  // Deleting splits at the last whole backslash too.
  EXPECT_TRUE(key.DeleteKey("\\Software\\" + name + "\\Sub"));
  EXPECT_TRUE(key.DeleteKey("\\Software\\" + name));
  EXPECT_EQ(registry.SubKeyCount(RootKey::LocalMachine, "Software"), 0u);
}

TEST(RegistryKey, DeleteKeyRemovesOnlyALeafKey) {
  FakeRegistry registry;
  registry.AddKey(RootKey::LocalMachine, "Software\\App\\Sub");
  RegistryKey key(registry, kAnsi);
  // App still has a subkey: the system refuses, and the holder passes that on.
  EXPECT_FALSE(key.DeleteKey("\\Software\\App"));
  EXPECT_TRUE(registry.HasKey(RootKey::LocalMachine, "Software\\App\\Sub"));
  EXPECT_TRUE(key.DeleteKey("\\Software\\App\\Sub"));
  EXPECT_FALSE(registry.HasKey(RootKey::LocalMachine, "Software\\App\\Sub"));
  EXPECT_TRUE(registry.HasKey(RootKey::LocalMachine, "Software\\App"));
  EXPECT_TRUE(key.DeleteKey("\\software\\APP"));
  EXPECT_FALSE(registry.HasKey(RootKey::LocalMachine, "Software\\App"));
  EXPECT_TRUE(registry.HasKey(RootKey::LocalMachine, "Software"));
}

TEST(RegistryKey, DeleteValueCreatesAMissingPathAndThenFails) {
  FakeRegistry registry;
  RegistryKey key(registry, kAnsi);
  EXPECT_FALSE(key.DeleteValue("\\Software\\New\\Value"));
  EXPECT_TRUE(registry.HasKey(RootKey::LocalMachine, "Software\\New"));

  registry.PutString(RootKey::LocalMachine, "Software\\Old", "Gone", "x");
  registry.PutString(RootKey::LocalMachine, "Software\\Old", "Kept", "y");
  EXPECT_TRUE(key.DeleteValue("\\Software\\Old\\gone"));
  EXPECT_FALSE(registry.GetValue(RootKey::LocalMachine, "Software\\Old", "Gone"));
  EXPECT_TRUE(registry.GetValue(RootKey::LocalMachine, "Software\\Old", "Kept"));
}

TEST(RegistryKey, SetAndQueryRoundTripWithTheirTypes) {
  FakeRegistry registry;
  RegistryKey key(registry, kAnsi, RootKey::CurrentUser);
  ASSERT_TRUE(key.OpenPath("\\Software\\T", true));
  ASSERT_TRUE(key.SetString("Path", "C:\\Program Files\\App"));
  ASSERT_TRUE(key.SetExpandString("Cmd", "\"%1\""));
  ASSERT_TRUE(key.SetDword("Count", 0x01020304));

  const auto path = registry.GetValue(RootKey::CurrentUser, "Software\\T", "Path");
  ASSERT_TRUE(path);
  EXPECT_EQ(path->type, RegistryValueType::String);
  // Stored with its terminating zero so every reader finds the end of the text.
  EXPECT_EQ(path->data, std::string("C:\\Program Files\\App") + '\0');
  EXPECT_EQ(registry.GetValue(RootKey::CurrentUser, "Software\\T", "Cmd")->type,
            RegistryValueType::ExpandString);
  const auto count = registry.GetValue(RootKey::CurrentUser, "Software\\T", "Count");
  EXPECT_EQ(count->type, RegistryValueType::Dword);
  EXPECT_EQ(count->data, Bytes({0x04, 0x03, 0x02, 0x01}));

  EXPECT_EQ(key.QueryString("PATH"), "C:\\Program Files\\App");
  EXPECT_EQ(key.QueryDword("count"), 0x01020304u);
  EXPECT_EQ(key.QueryString("Missing"), "");
  EXPECT_EQ(key.QueryDword("Missing"), 0u);
}

TEST(RegistryKey, QueriesOfValuesWrittenByOthers) {
  FakeRegistry registry;
  // Values as other programs leave them: without a terminating zero, or with bytes after it.
  registry.PutValue(RootKey::LocalMachine, "S", "Bare", RegistryValueType::String, "abc");
  registry.PutValue(RootKey::LocalMachine, "S", "Inner", RegistryValueType::String,
                    std::string("ab\0cd", 5));
  registry.PutValue(RootKey::LocalMachine, "S", "Long", RegistryValueType::String,
                    std::string(2047, 'x') + '\0');
  registry.PutValue(RootKey::LocalMachine, "S", "TooLong", RegistryValueType::String,
                    std::string(2048, 'x') + '\0');
  registry.PutValue(RootKey::LocalMachine, "S", "Short", RegistryValueType::Binary,
                    Bytes({0x34, 0x12}));
  registry.PutValue(RootKey::LocalMachine, "S", "Wide", RegistryValueType::Binary,
                    Bytes({1, 2, 3, 4, 5}));
  RegistryKey key(registry, kAnsi);
  EXPECT_EQ(key.QueryString("Bare"), "");  // nothing open yet
  ASSERT_TRUE(key.OpenPath("\\S", false));
  EXPECT_EQ(key.QueryString("Bare"), "abc");
  EXPECT_EQ(key.QueryString("Inner"), "ab");
  EXPECT_EQ(key.QueryString("Long"), std::string(2047, 'x'));
  EXPECT_EQ(key.QueryString("TooLong"), "");
  EXPECT_EQ(key.QueryDword("Short"), 0x1234u);
  EXPECT_EQ(key.QueryDword("Wide"), 0u);
}

TEST(RegistryKey, SetOperationsFailWithoutAnOpenKey) {
  FakeRegistry registry;
  RegistryKey key(registry, kAnsi);
  EXPECT_FALSE(key.SetString("a", "b"));
  EXPECT_FALSE(key.SetDword("a", 1));
  EXPECT_FALSE(key.SetBinary("a", "01"));
  ASSERT_TRUE(key.OpenPath("\\K", true));
  key.Close();
  EXPECT_FALSE(key.IsOpen());
  EXPECT_EQ(registry.OpenHandles(), 0);
  EXPECT_FALSE(key.SetString("a", "b"));
  key.Close();  // closing twice is harmless
}

TEST(ParseHexBytes, ReadsSpaceSeparatedHexadecimalTokens) {
  struct Case {
    std::string text;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"01 0A ff", {0x01, 0x0A, 0xFF}},
      {"01   0a  ", {0x01, 0x0A}},         // runs of spaces separate like one
      {"  7f", {0x7F}},                    // leading spaces give no empty token
      {"1FF 100", {0xFF, 0x00}},           // the low eight bits of larger numbers
      {"0x10 zz 1g 20", {0, 0, 0, 0x20}},  // any other character makes the token 0
      {"12\t34", {0}},                     // only spaces separate
      {"", {}},
      {"   ", {}},
  };
  for (const auto& c : cases) {
    const auto bytes = ParseHexBytes(c.text);
    ASSERT_TRUE(bytes) << c.text;
    EXPECT_EQ(*bytes, c.bytes) << "'" << c.text << "'";
  }
}

TEST(ParseHexBytes, RefusesTextsLongerThanTheLimit) {
  std::string text;
  while (text.size() < kMaxHexTextLength) text += "AB ";
  text.resize(kMaxHexTextLength);
  const auto atLimit = ParseHexBytes(text);
  ASSERT_TRUE(atLimit);
  EXPECT_EQ(atLimit->size(), (kMaxHexTextLength + 2) / 3);
  EXPECT_FALSE(ParseHexBytes(text + "A"));
}

TEST(RegistryKey, SetBinaryWritesTheParsedBytes) {
  FakeRegistry registry;
  RegistryKey key(registry, kAnsi);
  ASSERT_TRUE(key.OpenPath("\\B", true));
  ASSERT_TRUE(key.SetBinary("Data", "01 0A ff"));
  const auto value = registry.GetValue(RootKey::LocalMachine, "B", "Data");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, RegistryValueType::Binary);
  EXPECT_EQ(value->data, Bytes({0x01, 0x0A, 0xFF}));

  ASSERT_TRUE(key.SetBinary("Empty", ""));
  EXPECT_EQ(registry.GetValue(RootKey::LocalMachine, "B", "Empty")->data, "");

  // Too long to parse: nothing is written, and the caller hears of it.
  EXPECT_FALSE(key.SetBinary("Huge", std::string(kMaxHexTextLength + 1, '1')));
  EXPECT_FALSE(registry.GetValue(RootKey::LocalMachine, "B", "Huge"));
}

}  // namespace
}  // namespace tarn::engine
