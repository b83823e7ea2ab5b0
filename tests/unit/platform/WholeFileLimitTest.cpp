// What a 32-bit address space cannot hold is refused cleanly, like broken input: a file read
// whole stops at its limit, and each limit is tested on both sides.
#include <gtest/gtest.h>

#include <string>

#include "platform/FileSystem.h"
#include "project/LanguageTable.h"
#include "support/ScratchFolder.h"

namespace tarn {
namespace {

TEST(MemoryLimits, FilesReadWholeStopAtTheirLimit) {
  test::ScratchFolder dir;
  const struct {
    std::size_t size;
    std::uint64_t limit;
    bool read;
  } cases[] = {{0, 0, true},
               {100, 100, true},
               {101, 100, false},
               {70000, 65536, false},
               {200000, UINT64_MAX, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.size) + " bytes, limit " + std::to_string(c.limit));
    dir.WriteFile("f.bin", std::string(c.size, 'x'));
    const auto content = platform::ReadWholeFile(dir.Files(), dir.Path("f.bin"), c.limit);
    ASSERT_EQ(content.has_value(), c.read);
    if (content) {
      EXPECT_EQ(content->size(), c.size);
    }
  }

  // A language file past its limit leaves no texts, as a missing one does.
  for (const bool tooLarge : {false, true}) {
    SCOPED_TRACE(tooLarge);
    std::string text = "[Language=409]\r\nMessageDesc=m\r\n";
    if (tooLarge) text.resize(project::LanguageTable::kMaxLanguageFileSize + 1, ';');
    dir.WriteFile("lang.ini", text);
    project::LanguageTable table(0x409, 1252);
    table.Load(dir.Path("lang.ini"), dir.Files());
    EXPECT_EQ(table.GetText(project::LanguageKey::MessageDesc), tooLarge ? "" : "m");
  }
}

}  // namespace
}  // namespace tarn
