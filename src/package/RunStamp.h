#pragma once
// Names of the installer's temporary files. Every one carries the run stamp (local time at
// loading, year to milliseconds), so one entry always maps to the same file within a run and
// two runs never collide.

#include <cstdint>
#include <string>

#include "package/PackageEntry.h"

namespace tarn::package {

// Year, then month, day, hour, minute and second with two digits each, then the milliseconds
// without leading zeros: 2005-09-20 14:30:05.007 gives "200509201430057".
std::string MakeRunStamp(const CalendarTime& localTime);

// Folder part of `path` (through its last backslash) + run stamp + the file name, then the path
// variables expanded. The backslash search skips double-byte characters of `codePage`.
std::string StampedTempName(const std::string& path, const std::string& runStamp,
                            std::uint32_t codePage, const PathExpander& expand = nullptr);

}  // namespace tarn::package
