// Which saved language section the uninstaller speaks: the system's own, else English, else
// any the setup left, and built-in English for every key the section lacks.
#include "uninstall/UninstallTexts.h"

#include <gtest/gtest.h>

#include "support/ScratchFolder.h"

namespace tarn::uninstall {
namespace {

TEST(UninstallTexts, FallBackFromTheSystemsLanguageToEnglishToAnyToBuiltIn) {
  const struct {
    const char* what;
    std::vector<const char*> sections;  // file names, each holding "CloseButtonDesc=<name>"
    std::uint32_t locale;
    const char* close;
    const char* source;
  } cases[] = {
      {"the system's language", {"409.ini", "804.ini"}, 0x804, "804", "804.ini"},
      {"English when the system's is missing", {"409.ini", "404.ini"}, 0x804, "409", "409.ini"},
      {"any saved section", {"404.ini"}, 0x411, "404", "404.ini"},
      {"built-in texts without any", {}, 0x409, "&Close", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::ScratchFolder dir;
    dir.MakeFolder("TarnInstall");
    dir.WriteFile("TarnInstall\\notes.txt", "CloseButtonDesc=not a section\r\n");
    for (const char* name : c.sections)
      dir.WriteFile(std::string("TarnInstall\\") + name,
                    "UnInstallButtonDesc=\r\nCloseButtonDesc=" +
                        std::string(name, std::string(name).find('.')) + "\r\n");
    UninstallTexts texts;
    texts.Load(dir.Files(), dir.Path("TarnInstall"), c.locale);
    EXPECT_EQ(texts.Get("CloseButtonDesc"), c.close);
    EXPECT_EQ(texts.Source(), *c.source ? dir.Path(std::string("TarnInstall\\") + c.source) : "");
    // A key the section has, empty, stays empty; one it lacks gets the built-in text.
    EXPECT_EQ(texts.Get("UnInstallButtonDesc"), c.sections.empty() ? "&Uninstall" : "");
    EXPECT_EQ(texts.Get("RemoveFolderDesc"), "Status: Removing folders...");
  }
}

}  // namespace
}  // namespace tarn::uninstall
