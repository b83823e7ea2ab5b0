// The real Win32 platform, run under Wine in the test prefix.
#ifdef _WIN32

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "engine/actions/RegistryKey.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemFacts.h"
#include "project/LanguageTable.h"
#include "project/OsClass.h"
#include "project/PathVariables.h"
#include "support/win32/RegistryValues.h"
#include "text/ByteText.h"

namespace tarn::platform {
namespace {

using engine::RegistryKey;

std::string UniqueKeyName() {
  return "\\SOFTWARE\\TarnInstallTests\\Run" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
}

// A value of HKEY_LOCAL_MACHINE as stored, by a path with its leading backslash.
std::optional<std::string> RawValue(const std::string& path, const std::string& name, DWORD& type) {
  const auto value = test::ReadValue(HKEY_LOCAL_MACHINE, path.substr(1), name);
  if (!value) return std::nullopt;
  type = value->type;
  return value->data;
}

bool KeyExists(const std::string& path) {
  return test::KeyExists(HKEY_LOCAL_MACHINE, path.substr(1));
}

TEST(Win32Registry, HolderRoundTripsInThePrefix) {
  Win32Registry registry;
  const std::string base = UniqueKeyName();
  RegistryKey key(registry, GetACP());
  EXPECT_FALSE(key.OpenPath(base + "\\A\\B", false));
  ASSERT_TRUE(key.OpenPath(base + "\\A\\B", true));
  EXPECT_TRUE(KeyExists(base + "\\A"));
  ASSERT_TRUE(key.SetString("Text", "C:\\Program Files\\App"));
  ASSERT_TRUE(key.SetDword("Number", 0xA1B2C3D4u));
  ASSERT_TRUE(key.SetBinary("Bytes", "01 0A ff"));
  ASSERT_TRUE(key.SetExpandString("Command", "\"%1\""));
  EXPECT_EQ(key.QueryString("text"), "C:\\Program Files\\App");
  EXPECT_EQ(key.QueryDword("NUMBER"), 0xA1B2C3D4u);
  EXPECT_EQ(key.QueryString("Missing"), "");

  DWORD type = 0;
  EXPECT_EQ(RawValue(base + "\\A\\B", "Bytes", type), std::string("\x01\x0A\xFF", 3));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(RawValue(base + "\\A\\B", "Text", type), std::string("C:\\Program Files\\App") + '\0');
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_TRUE(RawValue(base + "\\A\\B", "Command", type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));

  EXPECT_FALSE(key.SetBinary("Huge", std::string(4001, '1')));
  EXPECT_FALSE(RawValue(base + "\\A\\B", "Huge", type));

  EXPECT_TRUE(key.DeleteValue(base + "\\A\\B\\Text"));
  EXPECT_FALSE(RawValue(base + "\\A\\B", "Text", type));
  // A key with a subkey stays; leaves go one by one.
  EXPECT_FALSE(key.DeleteKey(base + "\\A"));
  EXPECT_TRUE(KeyExists(base + "\\A\\B"));
  EXPECT_TRUE(key.DeleteKey(base + "\\A\\B"));
  EXPECT_TRUE(key.DeleteKey(base + "\\A"));
  EXPECT_TRUE(key.DeleteKey(base));
  EXPECT_FALSE(KeyExists(base));
  key.Close();
}

TEST(Win32SystemFacts, FoldersAndNamesOfThePrefix) {
  Win32SystemFacts system;
  Win32FileSystem files;
  EXPECT_TRUE(files.IsDirectory(system.WindowsDirectory()));
  EXPECT_TRUE(files.IsDirectory(system.SystemDirectory()));
  const std::string temp = system.TempPath();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(files.IsDirectory(temp));
  const auto desktop = system.DesktopDirectory();
  ASSERT_TRUE(desktop);
  EXPECT_TRUE(files.IsDirectory(*desktop));
  EXPECT_TRUE(files.Exists(system.ModulePath()));
  EXPECT_FALSE(system.UserName().empty());
  EXPECT_FALSE(system.ComputerName().empty());
  EXPECT_GE(system.DisplayLogPixelsY(), 96);
}

TEST(Win32PathVariables, ExpandOnTheRealSystem) {
  Win32SystemFacts system;
  Win32Registry registry;
  Win32FileSystem files;
  const std::string installDir = "C:\\";
  const project::PathContext context{installDir, system, registry};

  const auto version = system.VersionDetails();
  ASSERT_TRUE(version);
  EXPECT_EQ(version->platformId, static_cast<std::uint32_t>(VER_PLATFORM_WIN32_NT));
  const project::OsClass os = project::GetOsClass(system);
  if (version->major >= 6) {
    EXPECT_EQ(os, project::OsClass::NtOther);
  } else if (version->major == 5 && version->minor == 1) {
    EXPECT_EQ(os, project::OsClass::WindowsXp);
  }

  const std::string startMenu = project::ExpandPath("[Start Menu]", context);
  EXPECT_TRUE(files.IsDirectory(startMenu)) << startMenu;
  const std::string startup = project::ExpandPath("[Startup]\\a.lnk", context);
  EXPECT_EQ(startup.rfind(startMenu + "\\", 0), 0u) << startup;
  EXPECT_EQ(startup.substr(startup.size() - 6), "\\a.lnk");

  const std::string programFiles = project::ExpandPath("[Program Files]\\App", context);
  EXPECT_EQ(programFiles[0], system.WindowsDirectory()[0]);
  EXPECT_EQ(programFiles.substr(1), ":\\Program Files\\App");

  EXPECT_TRUE(files.IsDirectory(project::ExpandPath("[Desktop Directory]", context)));
  EXPECT_TRUE(files.IsDirectory(project::ExpandPath("[TempFileDir]", context)));
  EXPECT_EQ(project::ExpandPath("[InstallDir]\\x", context), "C:\\x");
}

// Run a second time with LC_ALL=zh_CN.GB2312 and TARN_EXPECT_LOCALE=804 (see the unit test
// CMakeLists): the real system locale then picks the GB2312 section of the standard file.
TEST(Win32Locale, SystemLocaleSelectsItsSection) {
  Win32SystemFacts system;
  Win32FileSystem files;
  project::LanguageTable table(system.SystemLocale(), system.AnsiCodePage());
  table.Load(std::string(TARN_SAMPLE_DIR) + "\\Language.ini", files);
  const char* expected = std::getenv("TARN_EXPECT_LOCALE");
  if (!expected) {
    // Whatever the prefix's locale, a section is chosen and its texts are there.
    EXPECT_FALSE(table.GetText(15).empty());
    return;
  }
  EXPECT_EQ(table.SystemLocale(), expected);
  EXPECT_EQ(table.LanguageCode(), expected);
  if (std::string(expected) == "804") {
    EXPECT_EQ(system.AnsiCodePage(), text::kCodePageGbk);
    EXPECT_EQ(table.GetText(15), "\xC8\xA1\xCF\xFB");
  } else if (std::string(expected) == "404") {
    EXPECT_EQ(system.AnsiCodePage(), text::kCodePageBig5);
    EXPECT_EQ(table.GetText(15), "\xA8\xFA\xAE\xF8");
  }
}

}  // namespace
}  // namespace tarn::platform

#endif  // _WIN32
