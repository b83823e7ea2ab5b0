#pragma once
// Writes the package's address space into the setup file and its volume files: bytes at
// address P go to volume P / D + 1 at position P mod D. Volume 1 begins with the setup program
// and, once everything else is written, receives the project stream and its trailer; every
// further volume "SetupN.Cab" ends with a trailer carrying the package identity.

#include <cstdint>
#include <fstream>
#include <string>

#include "package/PackageTrailer.h"

namespace tarnpack {

class VolumeWriter {
 public:
  // `folder` is where the files go; `setupName` the setup file's name there.
  VolumeWriter(std::string folder, std::string setupName, std::int64_t capacity,
               const tarn::package::PackageTrailer& identity);

  bool Open(std::string& error);
  bool Write(const std::uint8_t* data, std::size_t size);
  std::uint64_t Address() const { return address_; }
  std::int32_t Volumes() const { return volume_; }
  // CRC-64 of every byte written so far, in address order.
  std::uint64_t Digest() const { return digest_; }

  // Gives every trailer another identity, also those of the volumes already closed; Finish
  // rewrites them. For an identity that depends on what was written.
  bool SetIdentityText(const std::string& text);

  // Appends the project stream, zeros up to 7 and the trailer, which thus ends on an 8-byte
  // boundary, to the setup file and closes every file.
  bool Finish(const std::string& projectStream, std::string& error);

 private:
  bool CloseExtraVolume();
  bool RewriteClosedTrailers();
  std::string VolumePath(std::int32_t volume) const;

  std::string folder_;
  std::string setupName_;
  std::uint64_t capacity_;
  tarn::package::PackageTrailer trailer_;
  std::ofstream setup_;
  std::ofstream extra_;  // the volume after the first that is being written
  std::int32_t volume_ = 1;
  std::uint64_t address_ = 0;
  std::uint64_t digest_ = 0;
  bool identityChanged_ = false;
};

}  // namespace tarnpack
