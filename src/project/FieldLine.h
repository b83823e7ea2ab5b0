#pragma once
// One field line of a project document: "<Name>value</Name>". The value is everything between
// the first ">" and the next "<"; the closing tag is never examined.

#include <cstdint>
#include <string_view>

#include "project/Task.h"

namespace tarn::project {

// Any line gives an entry: a line that fits no field gives InvalidField (with whatever value
// the rule finds, usually empty). Nothing is trimmed.
FieldEntry ParseFieldLine(std::string_view line, std::uint32_t codePage);

}  // namespace tarn::project
