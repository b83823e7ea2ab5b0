#pragma once
// `tarnpack check`: everything in an author's project document that would make the build fail
// or the setup program go wrong on the user's machine, each with its line.

#include <cstddef>
#include <string>
#include <vector>

namespace tarnpack {

struct Problem {
  std::size_t line = 0;  // 1-based; 0 for the document as a whole
  std::string text;      // a plain sentence
};

// `projectFolder` is where relative sources are looked for ("" for the current folder).
std::vector<Problem> CheckProject(const std::string& documentText,
                                  const std::string& projectFolder);

// "project.xml: line 17: the source file a.txt is missing"
std::string FormatProblem(const std::string& projectPath, const Problem& problem);

}  // namespace tarnpack
