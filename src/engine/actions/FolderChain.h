#pragma once
// Creating every folder along an absolute path.

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tarn::engine {

// Creates each folder of `path` from the drive root down, ignoring failures (most of them are
// folders that exist already). Paths shorter than four characters are left alone. A path of
// 500 characters or more is refused whole, never cut: false, nothing created.
bool CreateFolderChain(platform::FileSystem& files, const std::string& path,
                       std::uint32_t codePage);
// The folders CreateFolderChain would make for `path`, from the drive root down: those of the
// chain that do not exist yet.
std::vector<std::string> MissingFolders(platform::FileSystem& files, const std::string& path,
                                        std::uint32_t codePage);

}  // namespace tarn::engine
