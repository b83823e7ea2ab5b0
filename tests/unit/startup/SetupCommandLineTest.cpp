#include "startup/SetupCommandLine.h"

#include <gtest/gtest.h>

namespace tarn::startup {
namespace {

constexpr std::uint32_t kWestern = 1252;
constexpr std::uint32_t kBig5 = 950;
using Text = std::optional<std::string>;

TEST(SetupCommandLine, ReadsGoodCommandLines) {
  const struct {
    std::string line;
    std::uint32_t codePage;
    bool silent;
    Text dir, group, log;
  } cases[] = {
      {"", kWestern, false, {}, {}, {}},
      {" \t  ", kWestern, false, {}, {}, {}},
      {"/S", kWestern, true, {}, {}, {}},
      {"/s /group=Tarn /Log=setup.log", kWestern, true, {}, "Tarn", "setup.log"},
      {"\"/GROUP=Tarn Sample\" /LOG=\"C:\\Logs\\tarn setup.log\"",
       kWestern,
       false,
       {},
       "Tarn Sample",
       "C:\\Logs\\tarn setup.log"},
      {"/GROUP=\"Tarn Sample\"\\Tools /LOG=..\\logs/a.log",
       kWestern,
       false,
       {},
       "Tarn Sample\\Tools",
       "..\\logs/a.log"},
      {"/S /D=C:\\Apps\\Tarn Sample  ", kWestern, true, "C:\\Apps\\Tarn Sample", {}, {}},
      {"/d=\"C:\\Program Files\\Tarn\" \t", kWestern, false, "C:\\Program Files\\Tarn", {}, {}},
      {"\"/D=C:\\Apps\\Tarn Sample\"", kWestern, false, "C:\\Apps\\Tarn Sample", {}, {}},
      {"/D=C:\\", kWestern, false, "C:\\", {}, {}},
      {"/D=\\\\server\\share\\Tarn", kWestern, false, "\\\\server\\share\\Tarn", {}, {}},
      {"\t/S\t/LOG=a.log\t/D=d:\\x -S y\t", kWestern, true, "d:\\x -S y", {}, "a.log"},
      // The second byte of 0xB3 0x5C is no folder separator, even at the end.
      {"/GROUP=Tarn\\\xB3\x5C", kBig5, false, {}, "Tarn\\\xB3\x5C", {}},
      {"/D=C:\\\xB3\x5C\\x", kBig5, false, "C:\\\xB3\x5C\\x", {}, {}},
  };
  for (const auto& c : cases) {
    const ParsedCommandLine parsed = ParseSetupCommandLine(c.line, c.codePage);
    EXPECT_EQ(parsed.error, "") << c.line;
    EXPECT_EQ(parsed.options.silent, c.silent) << c.line;
    EXPECT_EQ(parsed.options.installDir, c.dir) << c.line;
    EXPECT_EQ(parsed.options.programFolder, c.group) << c.line;
    EXPECT_EQ(parsed.options.logPath, c.log) << c.line;
  }
}

TEST(SetupCommandLine, NamesTheFirstProblemOfABadCommandLine) {
  const struct {
    std::string line;
    std::uint32_t codePage;
    const char* problem;  // part of the message
  } cases[] = {
      {"/X", kWestern, "Unknown option \"/X\"."},
      {"Tarn", kWestern, "Unknown option"},
      {"/SILENT", kWestern, "Unknown option"},
      {"/S=1", kWestern, "takes no value"},
      {"/S /s", kWestern, "twice"},
      {"/LOG=a.log /log=b.log", kWestern, "twice"},
      {"/D=", kWestern, "empty"},
      {"/GROUP=", kWestern, "empty"},
      {"/GROUP=\"\"", kWestern, "empty"},
      {"/LOG", kWestern, "empty"},
      {"/D=C:\\Apps /S", kWestern, "last"},
      {"/D=C:\\Apps /S /X", kWestern, "last"},
      {"/D=\"C:\\Apps\" /group=x", kWestern, "last"},
      {"\"/D=C:\\Apps\" /S", kWestern, "last"},
      {"/D=Apps\\Tarn", kWestern, "full path"},
      {"/D=C:Tarn", kWestern, "full path"},
      {"/D=\\\\server", kWestern, "full path"},
      {"/D=C:\\" + std::string(297, 'x'), kWestern, "299"},
      {"/D=C:\\a\tb", kWestern, "not allowed"},
      {"/D=C:\\a:b", kWestern, "not allowed"},
      {"/GROUP=..\\x", kWestern, "folder name"},
      {"/GROUP=a\\\\b", kWestern, "folder name"},
      {"/GROUP=\\Tarn", kWestern, "folder name"},
      {"/GROUP=Tarn\\\xB3\x5C", kWestern, "folder name"},
      {"/GROUP=a:b", kWestern, "not allowed"},
      {"/GROUP=" + std::string(260, 'g'), kWestern, "259"},
      {"/LOG=a|b", kWestern, "not allowed"},
      {"/GROUP=Tarn\xB3", kBig5, "middle of a character"},
      {"/LOG=\"a.log /S", kWestern, "unmatched quote"},
      {"\"", kWestern, "unmatched quote"},
      {"/D=C:\\" + std::string(100000, 'x'), kWestern, "299"},
      {std::string(100000, '\xB3'), kBig5, "Unknown option"},
  };
  for (const auto& c : cases) {
    const std::string error = ParseSetupCommandLine(c.line, c.codePage).error;
    EXPECT_NE(error.find(c.problem), std::string::npos) << c.line.substr(0, 60) << ": " << error;
    EXPECT_LT(error.size(), 100u) << error;
  }
}

TEST(SetupCommandLine, ReadsTheGoodOptionsBesideABadOne) {
  for (const char* line : {"/S /LOG=x.log /BAD", "/D=C:\\Apps /s \"/LOG=x.log\""}) {
    const ParsedCommandLine parsed = ParseSetupCommandLine(line, kWestern);
    EXPECT_NE(parsed.error, "") << line;
    EXPECT_TRUE(parsed.options.silent) << line;
    EXPECT_EQ(parsed.options.logPath, "x.log") << line;
    EXPECT_EQ(parsed.options.installDir, std::nullopt) << line;
  }
  const std::string usage = SetupUsageText();
  EXPECT_EQ(usage.rfind("Usage: ", 0), 0u);
  EXPECT_NE(usage.find("/D=path"), std::string::npos);
  EXPECT_NE(usage.back(), '\n');
}

}  // namespace
}  // namespace tarn::startup
