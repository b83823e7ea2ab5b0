#include "engine/actions/QuickLaunch.h"

#include <gtest/gtest.h>

namespace tarn::engine {
namespace {

TEST(QuickLaunch, FoldersPerSystemFamily) {
  const std::string tail = "\\Microsoft\\Internet Explorer\\Quick Launch\\";
  struct Case {
    const char* what;
    bool windows9x;
    std::string commonAppData;
    std::string userAppData;
    std::string first, second;
  } cases[] = {
      {"XP layout", false, "C:\\Documents and Settings\\All Users\\Application Data", "",
       "C:\\Documents and Settings\\ann\\Application Data" + tail,
       "C:\\Documents and Settings\\ann.PC1\\Application Data" + tail},
      {"two folders deep is enough", false, "D:\\Shared\\Data", "", "D:\\ann\\Data" + tail,
       "D:\\ann.PC1\\Data" + tail},
      {"later layout", false, "C:\\ProgramData", "C:\\users\\ann\\AppData\\Roaming",
       "C:\\users\\ann\\AppData\\Roaming" + tail, "C:\\users\\ann\\AppData\\Roaming" + tail},
      {"no shared folder known", false, "", "C:\\users\\ann\\AppData\\Roaming",
       "C:\\users\\ann\\AppData\\Roaming" + tail, "C:\\users\\ann\\AppData\\Roaming" + tail},
      {"nothing known at all", false, "", "", "", ""},
      {"98 / Me", true, "ignored", "ignored", "C:\\WINDOWS\\Application Data" + tail,
       "C:\\WINDOWS\\Profiles\\ann\\Application Data" + tail},
  };
  for (const auto& c : cases) {
    const auto folders = ComputeQuickLaunchFolders(c.windows9x, "C:\\WINDOWS", c.commonAppData,
                                                   "ann", "PC1", c.userAppData, 1252);
    EXPECT_EQ(folders.first, c.first) << c.what;
    EXPECT_EQ(folders.second, c.second) << c.what;
  }
}

TEST(QuickLaunch, DoubleByteNamesDoNotSplitAtTrailBytes) {
  // "\xB3\x5C" is one Big5 character whose second byte is a backslash byte.
  const auto folders = ComputeQuickLaunchFolders(
      false, "C:\\WINDOWS", "C:\\\xB3\x5C\\All Users\\Data\xB3\x5C", "ann", "PC1", "", 950);
  EXPECT_EQ(folders.first,
            "C:\\\xB3\x5C\\ann\\Data\xB3\x5C\\Microsoft\\Internet Explorer\\Quick Launch\\");
}

}  // namespace
}  // namespace tarn::engine
