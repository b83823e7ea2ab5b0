#include "support/TestPackage.h"

#include "package/PackageTrailer.h"
#include "support/LzmaStreams.h"

namespace tarn::test {

std::string PackageImage(const std::vector<PackageStream>& streams,
                         const std::function<std::string(const std::string&)>& document) {
  std::string image(100, 'S'), lines;
  for (const auto& s : streams) {
    const std::string stream = s.kind == "N" ? s.data : LzmaWithoutEndMarker(s.data);
    lines += "<File>" + s.target + "," + std::to_string(image.size()) + "," +
             std::to_string(stream.size()) + "," + s.kind + "," + s.timeStamp + "</File>\r\n";
    image += stream;
  }
  const std::string project = LzmaWithoutEndMarker(document(lines));
  package::PackageTrailer trailer;
  trailer.SetIdentityText("test-package");
  trailer.projectOffset = image.size();
  trailer.projectSize = project.size();
  trailer.reserved = 2;
  trailer.volumeNumber = 1;
  const auto bytes = trailer.Encode();
  return image + project + std::string(bytes.begin(), bytes.end());
}

}  // namespace tarn::test
