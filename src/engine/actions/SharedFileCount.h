#pragma once
// The system's count of the products that use a shared file: each installation that puts the
// file in place adds one, each removal takes one away, and the file goes only when none is left.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/session/SetupSession.h"

namespace tarn::engine {

constexpr const char* kSharedDllsKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// Adds this installation to the count of `path`. A file that was there before without a count
// belongs to somebody who never counted it: it starts at 2, so that our removal leaves it.
void CountSharedFile(SetupSession& s, const std::string& path, bool existedBefore);

enum class SharedFileRelease {
  Uncounted,   // no count: the file is not ours to remove
  StillInUse,  // other products still count it
  Unused,      // the count reached 0 and is gone: the file may be removed
};

// Takes this installation off the count of `path`.
SharedFileRelease ReleaseSharedFile(SetupSession& s, const std::string& path);

}  // namespace tarn::engine
