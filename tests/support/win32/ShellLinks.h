#pragma once
// Shell link files read back through the shell's own link object.

#include <optional>
#include <ostream>
#include <string>

namespace tarn::test {

struct LinkFields {
  std::string path, arguments, workingFolder, description, iconFile;
  int iconIndex = -1;
  bool operator==(const LinkFields& o) const {
    return path == o.path && arguments == o.arguments && workingFolder == o.workingFolder &&
           description == o.description && iconFile == o.iconFile && iconIndex == o.iconIndex;
  }
};

std::ostream& operator<<(std::ostream& out, const LinkFields& l);

// The fields of a link file; nothing when it cannot be loaded. COM must be entered on the
// calling thread.
std::optional<LinkFields> ReadLink(const std::string& path);

}  // namespace tarn::test
