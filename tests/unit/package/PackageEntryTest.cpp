#include "package/PackageEntry.h"

#include <gtest/gtest.h>

namespace tarn::package {
namespace {

struct EntryCase {
  const char* line;
  std::string target;
  std::int64_t offset;
  std::int64_t size;
  EntryKind kind;
  std::string timeStamp;
};

TEST(PackageEntry, ParsesTheFiveFields) {
  const EntryCase cases[] = {
      {"[InstallDir]\\a,b.txt,1000,20,A,2005-1-2 3:4:5", "[InstallDir]\\a,b.txt", 1000, 20,
       EntryKind::Application, "2005-1-2 3:4:5"},
      {"[TempFileDir]\\~TarnInstall-Language.ini,462848,3114,K,2005-1-23 20:20:58",
       "[TempFileDir]\\~TarnInstall-Language.ini", 462848, 3114, EntryKind::Installer,
       "2005-1-23 20:20:58"},
      {"x,1,2,k,t", "x", 1, 2, EntryKind::Installer, "t"},
      {"x,1,2,L,t", "x", 1, 2, EntryKind::RunAndDelete, "t"},
      {"x,1,2,n,t", "x", 1, 2, EntryKind::Stored, "t"},
      {"x,1,2,R,t", "x", 1, 2, EntryKind::RegistryImport, "t"},
      {"x,1,2,u,t", "x", 1, 2, EntryKind::Uninstaller, "t"},
      {"x,1,2,E,t", "x", 1, 2, EntryKind::Unknown, "t"},
      {"x,1,2,,t", "x", 1, 2, EntryKind::Unknown, "t"},
      {"x,1,2,AA,t", "x", 1, 2, EntryKind::Unknown, "t"},
      // Offsets beyond 4 GiB keep all their bits; numbers read like the C runtime.
      {"big,5000000000, 12abc,N,", "big", 5000000000LL, 12, EntryKind::Stored, ""},
      // A comma at position 0 is never the separator.
      {",1,2,A,t", "", 1, 2, EntryKind::Application, "t"},
      // Fewer than four commas: empty target, fields read after the first character.
      {"a,b,c", "", 0, 0, EntryKind::Unknown, ""},
  };
  for (const auto& c : cases) {
    const auto e = PackageEntry::Parse(c.line);
    ASSERT_TRUE(e) << c.line;
    EXPECT_EQ(e->Line(), c.line);
    EXPECT_EQ(e->Target(), c.target) << c.line;
    EXPECT_EQ(e->Offset(), c.offset) << c.line;
    EXPECT_EQ(e->CompressedSize(), c.size) << c.line;
    EXPECT_EQ(e->Kind(), c.kind) << c.line;
    EXPECT_EQ(e->TimeStampText(), c.timeStamp) << c.line;
  }
}

TEST(PackageEntry, KindCodesAreTheOnesTheRestOfTheProgramCompares) {
  EXPECT_EQ(PackageEntry::Parse("x,1,2,A,t")->KindCode(), 0);
  EXPECT_EQ(PackageEntry::Parse("x,1,2,K,t")->KindCode(), 2);
  EXPECT_EQ(PackageEntry::Parse("x,1,2,U,t")->KindCode(), 6);
  EXPECT_EQ(PackageEntry::Parse("x,1,2,Z,t")->KindCode(), 7);
}

TEST(PackageEntry, Big5TargetWithBackslashTrailByte) {
  // "[InstallDir]\許\a.txt": 0xB3 0x5C is one Big5 character.
  const std::string line = "[InstallDir]\\\xB3\x5C\\a.txt,77,5,A,2003-7-28 20:34:2";
  const auto e = PackageEntry::Parse(line);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Target(), "[InstallDir]\\\xB3\x5C\\a.txt");
  EXPECT_EQ(e->Offset(), 77);
  EXPECT_EQ(e->CompressedSize(), 5);
}

TEST(PackageEntry, ExpandsTheTargetThroughTheGivenExpander) {
  const auto e = PackageEntry::Parse("[InstallDir]\\a.txt,1,2,A,t",
                                     [](const std::string& t) { return "C:\\App" + t.substr(12); });
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Target(), "[InstallDir]\\a.txt");
  EXPECT_EQ(e->ExpandedTarget(), "C:\\App\\a.txt");
  EXPECT_EQ(PackageEntry::Parse("x,1,2,A,t")->ExpandedTarget(), "x");
}

TEST(PackageEntry, RefusesLinesThatDoNotFitTheEntryBuffer) {
  const std::string tail = ",1,2,A,2005-1-2 3:4:5";
  const std::string fits = std::string(PackageEntry::kMaxLineLength - tail.size(), 'a') + tail;
  ASSERT_EQ(fits.size(), 4095u);
  EXPECT_TRUE(PackageEntry::Parse(fits));
  EXPECT_FALSE(PackageEntry::Parse("b" + fits));
}

TEST(PackageEntry, TimeStampFields) {
  struct Case {
    const char* text;
    CalendarTime time;
  } cases[] = {
      {"2003-7-28 20:34:2", {2003, 7, 28, 20, 34, 2, 0}},
      {"2005-01-23 20:20:58", {2005, 1, 23, 20, 20, 58, 0}},
      {"1999-12-31 23:59:59", {1999, 12, 31, 23, 59, 59, 0}},
      {"2005-1-23", {2005, 1, 23, 0, 0, 0, 0}},
      {"", {0, 0, 0, 0, 0, 0, 0}},
      {"garbage", {0, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseTimeStamp(c.text), c.time) << c.text;
  EXPECT_EQ(PackageEntry::Parse("x,1,2,A,2003-7-28 20:34:2")->TimeStamp(),
            (CalendarTime{2003, 7, 28, 20, 34, 2, 0}));
}

}  // namespace
}  // namespace tarn::package
