#include "package/PackageTrailer.h"

#include <algorithm>

#include "package/LittleEndian.h"

namespace tarn::package {

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
