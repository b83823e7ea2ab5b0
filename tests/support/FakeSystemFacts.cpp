#include "support/FakeSystemFacts.h"

namespace tarn::test {

void FakeSystemFacts::Windows9x(std::uint32_t major, std::uint32_t minor) {
  versionWord = 0x80000000u | (minor << 8) | major;
  versionDetails = platform::OsVersion{major, minor, 0, 1};
}

void FakeSystemFacts::WindowsNt(std::uint32_t major, std::uint32_t minor) {
  versionWord = (minor << 8) | major;
  versionDetails = platform::OsVersion{major, minor, 0, 2};
}

}  // namespace tarn::test
