#pragma once
// A setup file image for tests: a stand-in stub, the packaged streams, the compressed project
// document and the trailer, in one volume.

#include <functional>
#include <string>
#include <vector>

namespace tarn::test {

struct PackageStream {
  std::string target;  // as the file list writes it, with path variables
  std::string kind;    // the kind letter; "N" streams are stored, all others compressed
  std::string data;
  std::string timeStamp = "2005-1-23 20:20:58";
};

// The bytes of a setup file holding `streams`. `document` receives the file list lines (each
// ending in CR LF) and gives the whole project document.
std::string PackageImage(const std::vector<PackageStream>& streams,
                         const std::function<std::string(const std::string&)>& document);

}  // namespace tarn::test
