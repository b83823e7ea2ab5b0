#include "package/PackageAddress.h"

#include <gtest/gtest.h>

namespace tarn::package {
namespace {

TEST(PackageAddress, OffsetToVolumeAndPosition) {
  struct Case {
    std::int64_t offset, capacity, volume, position;
  } cases[] = {
      {2500, 1000, 3, 500},         {0, 1000, 1, 0},
      {999, 1000, 1, 999},          {1000, 1000, 2, 0},
      {462848, 1457664, 1, 462848}, {5000000000LL, 700000000, 8, 100000000},
  };
  for (const auto& c : cases) {
    const auto at = LocateOffset(c.offset, c.capacity);
    ASSERT_TRUE(at);
    EXPECT_EQ(at->volume, c.volume) << c.offset;
    EXPECT_EQ(at->position, c.position) << c.offset;
  }
}

TEST(PackageAddress, RefusesCapacitiesThatCannotHoldData) {
  EXPECT_FALSE(LocateOffset(10, 0));
  EXPECT_FALSE(LocateOffset(10, -5));
  EXPECT_FALSE(LocateOffset(-1, 1000));
}

TEST(PackageAddress, VolumeFileNames) {
  EXPECT_EQ(VolumeFileName(2), "Setup2.Cab");
  EXPECT_EQ(VolumeFileName(13), "Setup13.Cab");
}

}  // namespace
}  // namespace tarn::package

#include "package/VolumeLocation.h"

namespace tarn::package {
namespace {

TEST(VolumeLocation, FolderShownAndPathAnswered) {
  EXPECT_EQ(MediaLocationOf("A:\\Setup2.Cab", 1252), "A:\\");
  EXPECT_EQ(MediaLocationOf("D:\\disk\\Setup2.Cab", 1252), "D:\\disk");
  EXPECT_EQ(MediaLocationOf("Setup2.Cab", 1252), "");
  // The Big5 character 0xB3 0x5C ends in a backslash byte but is no separator.
  EXPECT_EQ(MediaLocationOf("D:\\\xB3\x5C\\Setup2.Cab", 950), "D:\\\xB3\x5C");

  EXPECT_EQ(VolumePathIn("A:\\", 2), "A:\\Setup2.Cab");
  EXPECT_EQ(VolumePathIn("D:\\disk", 2), "D:\\disk\\Setup2.Cab");
  EXPECT_EQ(VolumePathIn("D:\\disk\\", 3), "D:\\disk\\\\Setup3.Cab");
}

}  // namespace
}  // namespace tarn::package
