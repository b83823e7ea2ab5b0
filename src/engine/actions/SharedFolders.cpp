#include "engine/actions/SharedFolders.h"

#include "text/ByteText.h"

namespace tarn::engine {

SharedFolders::SharedFolders(SetupSession& s, const char* windowsFolderToken)
    : windows_(s.Expand(windowsFolderToken)), codePage_(s.CodePage) {}

bool SharedFolders::Contain(const std::string& path) const {
  return text::ContainsIgnoreAsciiCase(path, windows_, codePage_) ||
         text::ContainsIgnoreAsciiCase(path, kSharedEngineFolder, codePage_);
}

}  // namespace tarn::engine
