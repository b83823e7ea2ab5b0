#include "project/OsClass.h"

#include <gtest/gtest.h>

#include "support/FakeSystemFacts.h"

namespace tarn::project {
namespace {

TEST(OsClass, ClassifiesEveryFamilyAndVersion) {
  struct Case {
    bool nineX;
    std::uint32_t major, minor;
    OsClass expected;
  } cases[] = {
      {true, 3, 95, OsClass::Windows3x},  {true, 4, 0, OsClass::Windows95},
      {true, 4, 10, OsClass::Windows98},  {true, 4, 90, OsClass::WindowsMe},
      {true, 4, 3, OsClass::Windows95},   {true, 5, 10, OsClass::Windows95},
      {false, 4, 0, OsClass::WindowsNt4}, {false, 5, 0, OsClass::Windows2000},
      {false, 5, 1, OsClass::WindowsXp},  {false, 5, 2, OsClass::NtOther},
      {false, 6, 1, OsClass::NtOther},    {false, 10, 0, OsClass::NtOther},
      {false, 3, 51, OsClass::NtOther},
  };
  for (const auto& c : cases) {
    test::FakeSystemFacts system;
    if (c.nineX)
      system.Windows9x(c.major, c.minor);
    else
      system.WindowsNt(c.major, c.minor);
    EXPECT_EQ(GetOsClass(system), c.expected) << c.nineX << " " << c.major << "." << c.minor;
  }
}

TEST(OsClass, MissingVersionDetailsFallBackPerFamily) {
  test::FakeSystemFacts system;
  system.Windows9x(4, 10);
  system.versionDetails.reset();
  EXPECT_EQ(GetOsClass(system), OsClass::Windows95);
  system.WindowsNt(5, 1);
  system.versionDetails.reset();
  EXPECT_EQ(GetOsClass(system), OsClass::NtOther);
  // Windows 3.x is told by the version word alone.
  system.Windows9x(3, 10);
  system.versionDetails.reset();
  EXPECT_EQ(GetOsClass(system), OsClass::Windows3x);
}

}  // namespace
}  // namespace tarn::project
