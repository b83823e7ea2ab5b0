#include "uninstall/UninstallTexts.h"

#include <optional>

#include "project/LanguageTable.h"
#include "text/ByteText.h"

namespace tarn::uninstall {

namespace {

struct BuiltIn {
  const char* key;
  const char* text;
};

constexpr BuiltIn kEnglish[] = {
    {"UnInstallButtonDesc", "&Uninstall"},
    {"CloseButtonDesc", "&Close"},
    {"UnInstallWindowTitle", "Uninstall"},
    {"UnInstallWindowSubject", "Remove the program"},
    {"UnInstallWindowDesc", "The program will be removed from your computer."},
    {"UnInstallWindowDesc2", "Click Uninstall to continue, or Close to keep the program."},
    {"UnInstallReadyDesc", "Ready to remove the program."},
    {"RemoveFileDesc", "Status: Removing files..."},
    {"RemoveFolderDesc", "Status: Removing folders..."},
    {"RemoveRegistryDesc", "Status: Removing registry items..."},
    {"UnInstallComplete", "The program has been removed."},
    {"MessageDesc", "Message"},
    {"UnInstallRestartDesc", "Restart your computer to complete the removal."},
};

// A saved section is small; anything larger is not one.
constexpr std::uint64_t kMaxSectionSize = 1u << 20;

}  // namespace

void UninstallTexts::Load(platform::FileSystem& files, const std::string& folder,
                          std::uint32_t systemLocale) {
  std::vector<std::string> candidates = {folder + "\\" + project::LocaleText(systemLocale) + ".ini",
                                         folder + "\\409.ini"};
  if (const auto found = files.Enumerate(folder + "\\*.ini")) {
    for (const auto& entry : *found)
      if (!entry.isDirectory) candidates.push_back(folder + "\\" + entry.name);
  }
  for (const auto& path : candidates) {
    if (const auto content = platform::ReadWholeFile(files, path, kMaxSectionSize)) {
      lines_ = text::SplitCrLfLines(*content);
      source_ = path;
      return;
    }
  }
}

std::string UninstallTexts::Get(std::string_view key) const {
  for (const auto& line : lines_) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && std::string_view(line).substr(0, equals) == key)
      return line.substr(equals + 1);
  }
  for (const auto& entry : kEnglish)
    if (key == entry.key) return entry.text;
  return {};
}

}  // namespace tarn::uninstall
