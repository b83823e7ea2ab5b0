#include "package/RunStamp.h"

#include <gtest/gtest.h>

#include "text/ByteText.h"

namespace tarn::package {
namespace {

TEST(RunStamp, DigitsOfTheLocalTime) {
  EXPECT_EQ(MakeRunStamp({2005, 9, 20, 14, 30, 5, 7}), "200509201430057");
  EXPECT_EQ(MakeRunStamp({2026, 12, 8, 0, 0, 0, 0}), "202612080000000");
  EXPECT_EQ(MakeRunStamp({1999, 1, 2, 3, 4, 5, 999}), "19990102030405999");
}

TEST(RunStamp, StampedNamesKeepFolderAndFileName) {
  const std::string stamp = "200509201430057";
  struct Case {
    const char* path;
    std::uint32_t codePage;
    std::string stamped;
  } cases[] = {
      {"C:\\TEMP\\~TarnInstall-Language.ini", 1252,
       "C:\\TEMP\\200509201430057~TarnInstall-Language.ini"},
      {"[TempFileDir]\\~TarnInstall-AdPicture.bmp", 1252,
       "[TempFileDir]\\200509201430057~TarnInstall-AdPicture.bmp"},
      {"noslash.txt", 1252, "200509201430057noslash.txt"},
      // The last real backslash, not the trail byte of the Big5 character 0xB3 0x5C.
      {"C:\\T\\\xB3\x5C.ini", text::kCodePageBig5, "C:\\T\\200509201430057\xB3\x5C.ini"},
      {"C:\\T\\\xB3\x5C.ini", 1252, "C:\\T\\\xB3\\200509201430057.ini"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StampedTempName(c.path, stamp, c.codePage), c.stamped) << c.path;
  }
  const auto expanded =
      StampedTempName("[TempFileDir]\\a.txt", stamp, 1252,
                      [](const std::string& p) { return "C:\\Temp" + p.substr(13); });
  EXPECT_EQ(expanded, "C:\\Temp\\200509201430057a.txt");
}

}  // namespace
}  // namespace tarn::package
