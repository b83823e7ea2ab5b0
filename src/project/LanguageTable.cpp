#include "project/LanguageTable.h"

#include "text/ByteText.h"

namespace tarn::project {

namespace {

// Key names by index; 35 is unused.
constexpr const char* kKeyNames[kLanguageKeyCount] = {
    "InstallDesc",
    "LoadingInstallFiles",
    "ReadFileErrorDesc",
    "WriteFileErrorDesc",
    "ErrorExitInstallDesc",
    "CancelInstall",
    "SureDesc",
    "InsertMediaDesc",
    "InsertMediaDesc0",
    "InsertMediaDesc1",
    "InsertMediaDesc2",
    "InsertMediaDesc3",
    "InsertMediaBrowseDesc",
    "BackButtonDesc",
    "NextButtonDesc",
    "CancelButtonDesc",
    "CompleteButtonDesc",
    "ExitInstallTitle",
    "ExitInstallMessage",
    "ProjectName",
    "WelcomeWndDesc1",
    "WelcomeWndDesc2",
    "WelcomeWndDesc3",
    "WelcomeWndDesc4",
    "ReadSoftDocSubject",
    "ReadSoftDocDesc",
    "ReadSoftDocDesc2",
    "ReadSoftDocAcceptDesc",
    "ReadSoftDocRejectDesc",
    "ShowReadmeSubject",
    "ShowReadmeDesc",
    "RegisterInfoSubject",
    "RegisterInfoDesc",
    "RegisterInfoCompanyDesc",
    "RegisterInfoUserDesc",
    "",
    "ProgramFolderSubject",
    "ProgramFolderDesc",
    "ProgramFolderDesc2",
    "ProgramFolderDesc3",
    "ProgramFolderDesc4",
    "ChangePathSubject",
    "ChangePathDesc",
    "ChangePathDesc2",
    "ChangePathFreeSpaceDesc1",
    "ChangePathFreeSpaceDesc2",
    "ChangePathSoftSizeDesc1",
    "ChangePathSoftSizeDesc2",
    "ChangePathFreeSpaceDesc3",
    "InstallProcessSubject",
    "InstallProcessDesc",
    "InstallProcessDesc2",
    "CreateFolderDesc",
    "CopyFileDesc",
    "CreateFileLinkDesc",
    "InstallFontDesc",
    "RegisterComDesc",
    "OperationRegistryDesc",
    "ClearFileDesc",
    "ShowFinishSubject",
    "ShowFinishDesc",
    "ShowFinishDesc1",
    "MessageDesc",
    "InstallComplete",
    "UnInstallDesc",
};

}  // namespace

std::string_view LanguageKeyName(std::int32_t index) {
  if (index < 0 || index >= kLanguageKeyCount) return {};
  return kKeyNames[index];
}

std::string LanguageToken(std::int32_t index) {
  return "|" + std::string(LanguageKeyName(index)) + "|";
}

std::int32_t LanguageTokenIndexOf(std::string_view text) {
  for (std::int32_t index = 0; index < kLanguageKeyCount; ++index) {
    // "||" belongs to no key, so the unused index never matches.
    if (LanguageKeyName(index).empty()) continue;
    if (text::EqualsIgnoreAsciiCase(text, LanguageToken(index))) return index;
  }
  return kNoLanguageKey;
}

std::string LocaleText(std::uint32_t lcid) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  do {
    out.insert(out.begin(), kDigits[lcid & 0xF]);
    lcid >>= 4;
  } while (lcid != 0);
  return out;
}

LanguageTable::LanguageTable(std::uint32_t systemLocale, std::uint32_t codePage)
    : systemLocale_(LocaleText(systemLocale)), codePage_(codePage) {}

void LanguageTable::Load(const std::string& path, platform::FileSystem& files) {
  lines_.clear();
  languageCode_ = "409";
  const auto content = platform::ReadWholeFile(files, path, kMaxLanguageFileSize);
  if (!content) return;
  const std::vector<std::string> lines = text::SplitCrLfLines(*content);

  bool matched = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < lines.size() && !matched; ++i) {
    const std::string& line = lines[i];
    if (line.empty() || line[0] != '[') continue;
    // The identifier list runs from after the first "=" to before the closing bracket.
    const std::size_t equals = text::FindChar(line, '=', codePage_);
    if (equals == text::npos || equals + 1 >= line.size() - 1) continue;
    const std::string list = line.substr(equals + 1, line.size() - 1 - (equals + 1));
    std::size_t from = 0;
    for (;;) {
      std::size_t comma = text::FindChar(list, ',', codePage_, from);
      const std::size_t end = comma == text::npos ? list.size() : comma;
      if (text::AsciiUpper(list.substr(from, end - from)) == systemLocale_) {
        matched = true;
        start = i + 1;
        languageCode_ = systemLocale_;
        break;
      }
      if (comma == text::npos) break;
      from = comma + 1;
    }
  }
  // No section for this locale: the file's first section, whatever its header says.
  if (!matched) start = 1;

  for (std::size_t i = start; i < lines.size(); ++i) {
    if (!lines[i].empty() && lines[i][0] == '[') break;
    lines_.push_back(lines[i]);
  }
}

std::size_t LanguageTable::FindLine(std::int32_t index) const {
  const std::string_view key = LanguageKeyName(index);
  // An index without a key would otherwise match every line without "=".
  if (key.empty()) return std::string::npos;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::size_t equals = text::FindChar(lines_[i], '=', codePage_);
    if (equals != text::npos && std::string_view(lines_[i]).substr(0, equals) == key) return i;
  }
  return std::string::npos;
}

std::string LanguageTable::GetText(std::int32_t index) const {
  const std::size_t line = FindLine(index);
  if (line == std::string::npos) return {};
  return lines_[line].substr(text::FindChar(lines_[line], '=', codePage_) + 1);
}

void LanguageTable::SetText(std::int32_t index, const std::string& text) {
  const std::size_t line = FindLine(index);
  if (line == std::string::npos) return;
  lines_[line] = std::string(LanguageKeyName(index)) + "=" + text;
}

bool LanguageTable::SaveSection(const std::string& path, platform::FileSystem& files) const {
  std::string content;
  for (const auto& line : lines_) {
    content += line;
    content += "\r\n";
  }
  return platform::WriteWholeFile(files, path, content);
}

}  // namespace tarn::project
