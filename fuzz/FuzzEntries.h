#pragma once
// One entry function per reader of untrusted input. The libFuzzer targets call them, and so does
// the native regression runner, so every input that once crashed a target is replayed through
// exactly the code the fuzzer ran. Each function returns normally for any input; a broken
// invariant aborts.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tarn::fuzz {

using Entry = void (*)(const std::uint8_t* data, std::size_t size);

void PackageTrailerInput(const std::uint8_t* data, std::size_t size);
void PackageEntryInput(const std::uint8_t* data, std::size_t size);
void ProjectDocumentInput(const std::uint8_t* data, std::size_t size);
void LanguageFileInput(const std::uint8_t* data, std::size_t size);
void BitmapInput(const std::uint8_t* data, std::size_t size);
void RegistryTextInput(const std::uint8_t* data, std::size_t size);
void ExtractEntryInput(const std::uint8_t* data, std::size_t size);
void SetupCommandLineInput(const std::uint8_t* data, std::size_t size);

struct NamedEntry {
  const char* name;  // the target's name and its folder under fuzz/corpus and fuzz/regressions
  Entry entry;
};

// Every target, in a fixed order.
const NamedEntry* Entries(std::size_t& count);
// The entry of the target called `name`; null for none.
Entry FindEntry(std::string_view name);

}  // namespace tarn::fuzz
