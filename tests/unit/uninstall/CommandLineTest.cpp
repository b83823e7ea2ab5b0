// The uninstaller's command lines: as the setup registers them, as the shell opens a record,
// as administrators write them, and lines that are refused.
#include "uninstall/CommandLine.h"

#include <gtest/gtest.h>

namespace tarn::uninstall {
namespace {

TEST(UninstallCommandLine, ReadsEveryFormAndRefusesBadLines) {
  const std::string self = "C:\\WINDOWS\\Tarn-UnInstall.exe";
  const struct {
    const char* line;
    const char* module;
    bool ok;
    bool silent;
    const char* log;
    const char* record;
  } cases[] = {
      {"C:\\WINDOWS\\Tarn-UnInstall.exe C:\\Program Files\\App\\TarnUninstall App 1.0.UCIP", "",
       true, false, "", "C:\\Program Files\\App\\TarnUninstall App 1.0.UCIP"},
      {"\"C:\\WINDOWS\\Tarn-UnInstall.exe\" C:\\App\\TarnUninstall App 1.0.UCIP", "", true, false,
       "", "C:\\App\\TarnUninstall App 1.0.UCIP"},
      {"\"C:\\WINDOWS\\Tarn-UnInstall.exe\" \"C:\\App\\TarnUninstall App 1.0.UCIP\"", "", true,
       false, "", "C:\\App\\TarnUninstall App 1.0.UCIP"},
      {"C:\\WINDOWS\\Tarn-UnInstall.exe /S C:\\My App\\TarnUninstall A.UCIP\r\n", "", true, true,
       "", "C:\\My App\\TarnUninstall A.UCIP"},
      {"\"x.exe\" /s /LOG=C:\\log.txt C:\\A\\r.UCIP", "", true, true, "C:\\log.txt",
       "C:\\A\\r.UCIP"},
      {"x.exe /log=\"C:\\my logs\\u.txt\" /S \"C:\\A B\\r.UCIP\"  ", "", true, true,
       "C:\\my logs\\u.txt", "C:\\A B\\r.UCIP"},
      // An unquoted program path with blanks is told from the arguments by the module path.
      {"C:\\Program Files\\Tarn\\Tarn-UnInstall.exe /S C:\\A\\r.UCIP",
       "C:\\Program Files\\Tarn\\Tarn-UnInstall.exe", true, true, "", "C:\\A\\r.UCIP"},
      // Options after the record path are part of it.
      {"x.exe C:\\A\\r /S.UCIP", "", true, false, "", "C:\\A\\r /S.UCIP"},
      {"x.exe", "", false, false, "", ""},
      {"x.exe   ", "", false, false, "", ""},
      {"x.exe /S", "", false, false, "", ""},
      {"x.exe /LOG= C:\\A\\r.UCIP", "", false, false, "", ""},
      {"x.exe /X C:\\A\\r.UCIP", "", false, false, "", ""},
      {"x.exe /SILENT C:\\A\\r.UCIP", "", false, false, "", ""},
      {"x.exe \"C:\\A\\r.UCIP", "", false, false, "", ""},
      {"\"x.exe", "", false, false, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto command = ParseUninstallCommandLine(c.line, *c.module ? c.module : self);
    ASSERT_EQ(command.has_value(), c.ok);
    if (!command) continue;
    EXPECT_EQ(command->silent, c.silent);
    EXPECT_EQ(command->logPath, c.log);
    EXPECT_EQ(command->recordPath, c.record);
  }
}

}  // namespace
}  // namespace tarn::uninstall
