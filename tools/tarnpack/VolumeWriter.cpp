#include "tarnpack/VolumeWriter.h"

#include <lzma.h>

#include <algorithm>
#include <array>

#include "package/PackageAddress.h"

namespace tarnpack {

VolumeWriter::VolumeWriter(std::string folder, std::string setupName, std::int64_t capacity,
                           const tarn::package::PackageTrailer& identity)
    : folder_(std::move(folder)),
      setupName_(std::move(setupName)),
      capacity_(static_cast<std::uint64_t>(capacity)),
      trailer_(identity) {}

namespace {

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

}  // namespace

std::string VolumeWriter::VolumePath(std::int32_t volume) const {
  return JoinPath(folder_, volume == 1 ? setupName_ : tarn::package::VolumeFileName(volume));
}

bool VolumeWriter::Open(std::string& error) {
  setup_.open(VolumePath(1), std::ios::binary | std::ios::trunc);
  if (!setup_) {
    error = "cannot create " + VolumePath(1);
    return false;
  }
  // A stale volume from an earlier build would be taken for part of this package.
  for (std::int32_t v = 2; v < 1000; ++v) {
    if (std::remove(VolumePath(v).c_str()) != 0) break;
  }
  return true;
}

bool VolumeWriter::Write(const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const std::uint64_t volume = address_ / capacity_ + 1;
    if (volume != static_cast<std::uint64_t>(volume_)) {
      if (volume_ > 1 && !CloseExtraVolume()) return false;
      volume_ = static_cast<std::int32_t>(volume);
      extra_.open(VolumePath(volume_), std::ios::binary | std::ios::trunc);
      if (!extra_) return false;
    }
    const std::uint64_t room = capacity_ - address_ % capacity_;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(room, size));
    std::ofstream& out = volume_ == 1 ? setup_ : extra_;
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(n));
    if (!out) return false;
    digest_ = lzma_crc64(data, n, digest_);
    data += n;
    size -= n;
    address_ += n;
  }
  return true;
}

bool VolumeWriter::CloseExtraVolume() {
  tarn::package::PackageTrailer t = trailer_;
  t.volumeNumber = static_cast<std::uint32_t>(volume_);
  const auto bytes = t.Encode();
  extra_.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  extra_.close();
  return !extra_.fail();
}

bool VolumeWriter::SetIdentityText(const std::string& text) {
  if (!trailer_.SetIdentityText(text)) return false;
  identityChanged_ = true;
  return true;
}

bool VolumeWriter::RewriteClosedTrailers() {
  for (std::int32_t v = 2; v <= volume_; ++v) {
    std::fstream file(VolumePath(v), std::ios::binary | std::ios::in | std::ios::out);
    tarn::package::PackageTrailer t = trailer_;
    t.volumeNumber = static_cast<std::uint32_t>(v);
    const auto bytes = t.Encode();
    file.seekp(-static_cast<std::streamoff>(bytes.size()), std::ios::end);
    file.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    file.close();
    if (file.fail()) return false;
  }
  return true;
}

bool VolumeWriter::Finish(const std::string& projectStream, std::string& error) {
  if (volume_ > 1 && !CloseExtraVolume()) {
    error = "cannot write " + VolumePath(volume_);
    return false;
  }
  if (identityChanged_ && !RewriteClosedTrailers()) {
    error = "cannot rewrite the trailers of the volume files";
    return false;
  }
  tarn::package::PackageTrailer t = trailer_;
  t.projectOffset = std::min(address_, capacity_);
  t.projectSize = projectStream.size();
  t.volumeNumber = 1;
  const auto bytes = t.Encode();
  setup_.write(projectStream.data(), static_cast<std::streamsize>(projectStream.size()));
  // Zeros before the trailer end it on an 8-byte boundary, where signing tools put the
  // certificate table: the signed file then has nothing between trailer and table.
  const std::uint64_t end = t.projectOffset + t.projectSize + bytes.size();
  const std::array<char, 8> zeros{};
  setup_.write(zeros.data(), static_cast<std::streamsize>((8 - end % 8) % 8));
  setup_.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  setup_.close();
  if (setup_.fail()) {
    error = "cannot write " + VolumePath(1);
    return false;
  }
  return true;
}

}  // namespace tarnpack
