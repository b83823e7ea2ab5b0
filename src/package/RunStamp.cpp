#include "package/RunStamp.h"

#include "text/ByteText.h"
#include "text/PathParts.h"

namespace tarn::package {

namespace {

std::string TwoDigits(std::int32_t value) {
  std::string s = std::to_string(value);
  return s.size() < 2 ? "0" + s : s;
}

}  // namespace

std::string MakeRunStamp(const CalendarTime& t) {
  return std::to_string(t.year) + TwoDigits(t.month) + TwoDigits(t.day) + TwoDigits(t.hour) +
         TwoDigits(t.minute) + TwoDigits(t.second) + std::to_string(t.milliseconds);
}

std::string StampedTempName(const std::string& path, const std::string& runStamp,
                            std::uint32_t codePage, const PathExpander& expand) {
  const std::string stamped =
      text::FolderWithBackslash(path, codePage) + runStamp + text::FileNameOf(path, codePage);
  return expand ? expand(stamped) : stamped;
}

}  // namespace tarn::package
