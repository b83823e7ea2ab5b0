#include "engine/actions/QuickLaunch.h"

#include <gtest/gtest.h>

#include <set>

namespace tarn::engine {
namespace {

const auto kAnyFolder = [](const std::string&) { return true; };

TEST(QuickLaunch, FoldersPerSystemFamily) {
  const std::string tail = "\\Microsoft\\Internet Explorer\\Quick Launch\\";
  const std::string roaming = "C:\\users\\ann\\AppData\\Roaming";
  const std::string xpOwn = "C:\\Documents and Settings\\ann\\Application Data" + tail;
  const std::string xpOther = "C:\\Documents and Settings\\ann.PC1\\Application Data" + tail;
  struct Case {
    const char* what;
    bool windows9x;
    std::string commonAppData;
    std::string userAppData;
    std::set<std::string> existing;
    std::string first, second;
  } cases[] = {
      {"XP layout",
       false,
       "C:\\Documents and Settings\\All Users\\Application Data",
       roaming,
       {xpOwn},
       xpOwn,
       xpOther},
      {"XP layout, only the other profile",
       false,
       "C:\\Documents and Settings\\All Users\\Application Data",
       roaming,
       {xpOther},
       xpOwn,
       xpOther},
      {"two folders deep is enough",
       false,
       "D:\\Shared\\Data",
       "",
       {"D:\\ann\\Data" + tail},
       "D:\\ann\\Data" + tail,
       "D:\\ann.PC1\\Data" + tail},
      {"XP layout without either folder",
       false,
       "C:\\Documents and Settings\\All Users\\Application Data",
       roaming,
       {},
       roaming + tail,
       ""},
      {"Vista layout", false, "C:\\ProgramData", roaming, {}, roaming + tail, ""},
      {"Vista layout, folder already there",
       false,
       "C:\\ProgramData",
       roaming,
       {roaming + tail},
       roaming + tail,
       ""},
      {"no shared folder known", false, "", roaming, {}, roaming + tail, ""},
      {"nothing known at all", false, "", "", {}, "", ""},
      {"98 / Me",
       true,
       "ignored",
       "ignored",
       {"C:\\WINDOWS\\Application Data" + tail},
       "C:\\WINDOWS\\Application Data" + tail,
       "C:\\WINDOWS\\Profiles\\ann\\Application Data" + tail},
  };
  for (const auto& c : cases) {
    const auto exists = [&c](const std::string& folder) { return c.existing.count(folder) != 0; };
    const auto folders = ComputeQuickLaunchFolders(c.windows9x, "C:\\WINDOWS", c.commonAppData,
                                                   "ann", "PC1", c.userAppData, exists, 1252);
    EXPECT_EQ(folders.first, c.first) << c.what;
    EXPECT_EQ(folders.second, c.second) << c.what;
  }
}

TEST(QuickLaunch, DoubleByteNamesDoNotSplitAtTrailBytes) {
  // "\xB3\x5C" is one Big5 character whose second byte is a backslash byte.
  const auto folders =
      ComputeQuickLaunchFolders(false, "C:\\WINDOWS", "C:\\\xB3\x5C\\All Users\\Data\xB3\x5C",
                                "ann", "PC1", "", kAnyFolder, 950);
  EXPECT_EQ(folders.first,
            "C:\\\xB3\x5C\\ann\\Data\xB3\x5C\\Microsoft\\Internet Explorer\\Quick Launch\\");
}

}  // namespace
}  // namespace tarn::engine
