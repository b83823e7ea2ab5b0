#include "engine/stages/FontStage.h"

#include <vector>

#include "engine/actions/RegistryKey.h"
#include "project/TaskIds.h"
#include "text/ByteText.h"
#include "text/PathParts.h"

namespace tarn::engine {

namespace {

// Fonts in the system's font folder are registered by file name, others by full path.
std::string FontRegistryData(SetupSession& s, const std::string& fontPath) {
  const std::string fontsFolder = s.Expand("[Windows Directory]") + "\\Fonts\\";
  const std::string name = text::FileNameOf(fontPath, s.CodePage);
  return text::EqualsIgnoreAsciiCase(fontPath, fontsFolder + name) ? name : fontPath;
}

}  // namespace

std::string FontRegistryName(const std::string& fontPath, std::uint32_t codePage) {
  const std::string name = text::FileNameOf(fontPath, codePage);
  const std::size_t dot = text::FindLastChar(name, '.', codePage);
  const std::string stem = dot == text::npos ? name : name.substr(0, dot);
  const std::string extension = text::AsciiUpper(text::FileExtension(name, codePage));
  return extension == "TTF" || extension == "OTF" ? stem + " (TrueType)" : stem;
}

void RunFontStage(InstallRun& run) {
  SetupSession& s = run.Session();
  run.Status(project::LanguageKey::InstallFontDesc);
  std::vector<std::string> fonts;
  s.Project.GetFieldValues(project::task::Fonts, project::SubTaskType::GetValue,
                           project::FieldName::File, fonts);
  bool added = false;
  for (const auto& font : fonts) {
    const std::string path = s.Expand(font);
    // Loading alone lasts until the next restart; the registry entry makes the font stay.
    if (s.System.shell.AddFont(path)) {
      added = true;
      RegistryKey key(s.System.registry, s.CodePage);
      if (key.OpenPath(kFontsKey, true))
        key.SetString(FontRegistryName(path, s.CodePage), FontRegistryData(s, path));
    }
    if (run.CancelPoint()) break;
  }
  if (added) s.System.shell.AnnounceFontChange();
}

}  // namespace tarn::engine
