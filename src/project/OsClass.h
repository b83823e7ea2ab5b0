#pragma once
// The families and versions of Windows that the installer tells apart.

#include <cstdint>

#include "platform/SystemFacts.h"

namespace tarn::project {

enum class OsClass : std::int32_t {
  Windows3x = 0,    // 9x-style version word with a major version below 4
  NtOther = 1,      // an NT-family version not named below
  Windows95 = 2,    // 95, and any 9x-family 4.x not named below
  Windows98 = 3,    // 4.10
  WindowsMe = 4,    // 4.90
  WindowsNt4 = 5,   // NT 4.0
  Windows2000 = 6,  // NT 5.0
  WindowsXp = 7,    // NT 5.1
};

OsClass GetOsClass(platform::SystemFacts& system);

}  // namespace tarn::project
