#include "package/PackageTrailer.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "package/LittleEndian.h"

namespace tarn::package {

namespace {

// Signatures of real programs are kilobytes; a larger table is taken for a lie.
constexpr std::uint64_t kLargestCertificateTable = std::uint64_t{16} << 20;
// Signing tools pad the file to an 8-byte boundary before the table.
constexpr std::size_t kMostPadding = 7;

bool ReadAt(platform::File& file, std::uint64_t position, std::uint8_t* buffer, std::size_t size) {
  if (position > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return false;
  return file.Seek(static_cast<std::int64_t>(position), platform::SeekOrigin::Begin) &&
         platform::ReadExactly(file, buffer, size);
}

// The project stream lies entirely before a trailer at `position`.
bool ProjectFitsBefore(const PackageTrailer& t, std::uint64_t position) {
  return t.projectOffset <= position && t.projectSize <= position - t.projectOffset;
}

struct CertificateTable {
  std::uint64_t headersEnd = 0;  // first byte after the PE headers
  std::uint64_t offset = 0;      // the table ends the file
};

// The certificate table of a PE image (PE32 or PE32+) when it ends exactly at the end of the
// file and its directory is sound.
std::optional<CertificateTable> FindCertificateTable(platform::File& file, std::uint64_t length) {
  std::uint8_t dos[64];
  if (length < sizeof dos || !ReadAt(file, 0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z')
    return std::nullopt;
  const std::uint64_t pe = LoadLe32(&dos[0x3C]);
  std::uint8_t coff[24];  // "PE\0\0" and the file header
  if (pe + sizeof coff > length || !ReadAt(file, pe, coff, sizeof coff) || coff[0] != 'P' ||
      coff[1] != 'E' || coff[2] != 0 || coff[3] != 0)
    return std::nullopt;
  const std::size_t optionalSize = LoadLe16(&coff[20]);
  const std::uint64_t headersEnd = pe + sizeof coff + optionalSize;
  if (headersEnd > length) return std::nullopt;
  std::vector<std::uint8_t> optionalHeader(optionalSize);
  if (optionalSize < 2 || !ReadAt(file, pe + sizeof coff, optionalHeader.data(), optionalSize))
    return std::nullopt;
  // Where the number of directories and the directories lie differs between PE32 and PE32+.
  std::size_t countAt = 0;
  switch (LoadLe16(optionalHeader.data())) {
    case 0x10B:
      countAt = 92;
      break;
    case 0x20B:
      countAt = 108;
      break;
    default:
      return std::nullopt;
  }
  constexpr std::size_t kSecurityDirectory = 4;
  const std::size_t entryAt = countAt + 4 + kSecurityDirectory * 8;
  if (optionalSize < entryAt + 8 || LoadLe32(&optionalHeader[countAt]) <= kSecurityDirectory)
    return std::nullopt;
  // Unlike every other directory, this one holds a file offset, not a memory address.
  const std::uint64_t offset = LoadLe32(&optionalHeader[entryAt]);
  const std::uint64_t size = LoadLe32(&optionalHeader[entryAt + 4]);
  if (size < 8 || size > kLargestCertificateTable || offset < headersEnd || offset > length ||
      length - offset != size)
    return std::nullopt;
  std::uint8_t entry[8];  // the first certificate's length, revision and type
  if (!ReadAt(file, offset, entry, sizeof entry)) return std::nullopt;
  const std::uint32_t first = LoadLe32(entry);
  if (first < sizeof entry || first > size) return std::nullopt;
  return CertificateTable{headersEnd, offset};
}

}  // namespace

std::string PackageTrailer::IdentityText() const {
  const auto end = std::find(identity.begin(), identity.end(), 0);
  return std::string(identity.begin(), end);
}

bool PackageTrailer::SetIdentityText(std::string_view text) {
  if (text.size() >= kIdentitySize || text.find('\0') != std::string_view::npos) return false;
  identity.fill(0);
  std::copy(text.begin(), text.end(), identity.begin());
  return true;
}

bool PackageTrailer::SameIdentity(const PackageTrailer& other) const {
  return IdentityText() == other.IdentityText();
}

PackageTrailer PackageTrailer::Decode(const std::array<std::uint8_t, kTrailerSize>& bytes) {
  PackageTrailer t;
  std::copy_n(bytes.begin(), kIdentitySize, t.identity.begin());
  t.projectOffset = LoadLe64(&bytes[64]);
  t.projectSize = LoadLe64(&bytes[72]);
  t.reserved = LoadLe32(&bytes[80]);
  t.volumeNumber = LoadLe32(&bytes[84]);
  return t;
}

std::array<std::uint8_t, kTrailerSize> PackageTrailer::Encode() const {
  std::array<std::uint8_t, kTrailerSize> bytes{};
  std::copy(identity.begin(), identity.end(), bytes.begin());
  StoreLe64(&bytes[64], projectOffset);
  StoreLe64(&bytes[72], projectSize);
  StoreLe32(&bytes[80], reserved);
  StoreLe32(&bytes[84], volumeNumber);
  return bytes;
}

std::optional<PackageTrailer> ReadPackageTrailer(platform::File& file) {
  const auto length = file.Length();
  if (!length || *length < kTrailerSize) return std::nullopt;
  if (!file.Seek(static_cast<std::int64_t>(*length - kTrailerSize), platform::SeekOrigin::Begin))
    return std::nullopt;
  std::array<std::uint8_t, kTrailerSize> bytes{};
  if (!platform::ReadExactly(file, bytes.data(), bytes.size())) return std::nullopt;
  return PackageTrailer::Decode(bytes);
}

}  // namespace tarn::package

namespace tarn::package {

std::optional<LocatedTrailer> LocateSetupTrailer(platform::File& file) {
  const auto length = file.Length();
  if (!length || *length < kTrailerSize) return std::nullopt;
  std::array<std::uint8_t, kTrailerSize> bytes{};
  const std::uint64_t last = *length - kTrailerSize;
  if (!ReadAt(file, last, bytes.data(), bytes.size())) return std::nullopt;
  const PackageTrailer atEnd = PackageTrailer::Decode(bytes);
  if (ProjectFitsBefore(atEnd, last)) return LocatedTrailer{last, atEnd};

  const auto table = FindCertificateTable(file, *length);
  if (!table) return std::nullopt;
  // The trailer and its padding lie between the PE headers and the table.
  const std::uint64_t room = table->offset - table->headersEnd;
  if (room < kTrailerSize) return std::nullopt;
  const std::size_t window =
      static_cast<std::size_t>(std::min<std::uint64_t>(room, kTrailerSize + kMostPadding));
  std::array<std::uint8_t, kTrailerSize + kMostPadding> before{};
  if (!ReadAt(file, table->offset - window, before.data(), window)) return std::nullopt;
  // The setup file's own trailer names volume 1: that tells the padding from the trailer's own
  // zero bytes, whichever the padding is.
  for (std::size_t pad = 0; pad + kTrailerSize <= window; ++pad) {
    if (pad > 0 && before[window - pad] != 0) break;
    const std::size_t at = window - pad - kTrailerSize;
    std::copy_n(before.begin() + static_cast<std::ptrdiff_t>(at), kTrailerSize, bytes.begin());
    const PackageTrailer t = PackageTrailer::Decode(bytes);
    const std::uint64_t position = table->offset - pad - kTrailerSize;
    if (t.volumeNumber == 1 && t.projectOffset >= table->headersEnd &&
        ProjectFitsBefore(t, position))
      return LocatedTrailer{position, t};
  }
  return std::nullopt;
}

}  // namespace tarn::package
