#pragma once
// The interface texts of the language chosen for the system's locale. Every visible text comes
// from here by a fixed key index; the texts are bytes in the code page of their section.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "project/LanguageKeys.h"

namespace tarn::project {

// Number of key indices (0 to 64; 35 has no key).
constexpr std::int32_t kLanguageKeyCount = 65;
// What LanguageTokenIndexOf gives for a text that is no key's token.
constexpr std::int32_t kNoLanguageKey = 66;

// The key name of an index ("InstallDesc" for 0); empty for an index without a key.
std::string_view LanguageKeyName(std::int32_t index);
// "|" + key name + "|", or "||" for an index without a key.
std::string LanguageToken(std::int32_t index);
// Index of the key whose token equals `text` without regard to ASCII case; kNoLanguageKey when
// none does.
std::int32_t LanguageTokenIndexOf(std::string_view text);

// A locale identifier as section headers write it: hexadecimal, upper case, no leading zeros.
std::string LocaleText(std::uint32_t lcid);

class LanguageTable {
 public:
  // `systemLocale` is the system's default locale identifier; `codePage` the ANSI code page
  // the texts are searched in.
  LanguageTable(std::uint32_t systemLocale, std::uint32_t codePage);

  // A language file holds a few hundred short texts per language; a longer file is refused.
  static constexpr std::uint64_t kMaxLanguageFileSize = 16u << 20;

  // Reads the language file and keeps the section of the system's locale, or the file's first
  // section (language code "409") when none lists it. A missing file, or one above the size
  // limit, leaves no texts.
  void Load(const std::string& path, platform::FileSystem& files);

  // The text of the key's first line in the section; "" when there is none.
  std::string GetText(std::int32_t index) const;
  std::string GetText(LanguageKey key) const { return GetText(static_cast<std::int32_t>(key)); }
  // Replaces the key's first line by key + "=" + text; nothing happens without such a line.
  void SetText(std::int32_t index, const std::string& text);
  void SetText(LanguageKey key, const std::string& text) {
    SetText(static_cast<std::int32_t>(key), text);
  }

  const std::string& LanguageCode() const { return languageCode_; }
  const std::string& SystemLocale() const { return systemLocale_; }
  const std::vector<std::string>& Lines() const { return lines_; }

  // Writes the section's lines, each ended by CR LF, without a header, to a new file. False
  // when the file cannot be written.
  bool SaveSection(const std::string& path, platform::FileSystem& files) const;

 private:
  // Position of the first line whose key part is the index's key name, or npos.
  std::size_t FindLine(std::int32_t index) const;

  std::string systemLocale_;
  std::uint32_t codePage_;
  std::string languageCode_ = "409";
  std::vector<std::string> lines_;
};

}  // namespace tarn::project
