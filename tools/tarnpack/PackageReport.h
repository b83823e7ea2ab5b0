#pragma once
// `tarnpack list` and `tarnpack verify`: read a package the way the setup program does, through
// its own package reader and project reader.

#include <cstdint>
#include <ostream>
#include <string>

namespace tarnpack {

struct ReportOptions {
  std::string setupPath;
  std::uint32_t codePage = 936;  // the project document is GB2312 text
};

// Prints the trailer, a summary of the project and every entry with its volume and position.
bool ListPackage(const ReportOptions& options, std::ostream& out, std::string& error);

// Decodes every stream and reports each failure. The number of failed streams, or -1 when the
// package cannot be opened at all.
int VerifyPackage(const ReportOptions& options, std::ostream& out, std::string& error);

}  // namespace tarnpack
