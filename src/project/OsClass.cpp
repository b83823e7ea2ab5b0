#include "project/OsClass.h"

namespace tarn::project {

OsClass GetOsClass(platform::SystemFacts& system) {
  const std::uint32_t word = system.VersionWord();
  const auto details = system.VersionDetails();
  if (word & 0x80000000u) {
    if ((word & 0xFF) < 4) return OsClass::Windows3x;
    if (!details) return OsClass::Windows95;
    if (details->major == 4 && details->minor == 10) return OsClass::Windows98;
    if (details->major == 4 && details->minor == 90) return OsClass::WindowsMe;
    return OsClass::Windows95;
  }
  if (!details) return OsClass::NtOther;
  if (details->major == 4) return OsClass::WindowsNt4;
  if (details->major == 5 && details->minor == 0) return OsClass::Windows2000;
  if (details->major == 5 && details->minor == 1) return OsClass::WindowsXp;
  return OsClass::NtOther;
}

}  // namespace tarn::project
