#pragma once
// The uninstaller's texts: the language section the setup saved for it, found for the system's
// language, with English texts for whatever the section lacks.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace tarn::uninstall {

class UninstallTexts {
 public:
  // Reads "<folder>\<locale>.ini" for the system's locale, else "409.ini", else any saved
  // section of the folder ("[System Directory]\TarnInstall").
  void Load(platform::FileSystem& files, const std::string& folder, std::uint32_t systemLocale);

  // The section's text of `key` (case-sensitive, the first line wins), or the English one.
  std::string Get(std::string_view key) const;
  // The file the texts came from; empty when none was found.
  const std::string& Source() const { return source_; }

 private:
  std::vector<std::string> lines_;
  std::string source_;
};

}  // namespace tarn::uninstall
