#pragma once
// Files read back through the system's own calls, past the file layer under test.

#include <string>

namespace tarn::test {

// A file's bytes, or "<missing>".
std::string ReadFileBytes(const std::string& path);
bool IsFolder(const std::string& path);
bool IsFile(const std::string& path);
// The last-write time of a file as local "Y-M-D h:m:s"; "<none>" when it cannot be read.
std::string LocalWriteTime(const std::string& path);

}  // namespace tarn::test
