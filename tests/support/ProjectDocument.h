#pragma once
// A small project document in the builder's line format, for tests and benchmarks that need a
// package: task 2401 with the given GetAllVar lines, any further task blocks, then task 2412
// with its folder and file lists. Every argument is a run of complete lines, each ending in
// CR LF; the document's own lines end in CR LF too.

#include <string>

namespace tarn::test {

std::string ProjectDocument(const std::string& settingLines, const std::string& folderLines,
                            const std::string& fileLines, const std::string& otherTasks = "");

}  // namespace tarn::test
