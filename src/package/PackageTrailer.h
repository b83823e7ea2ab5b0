#pragma once
// The 88-byte record at the end of the setup file and of every volume file.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace tarn::package {

constexpr std::size_t kTrailerSize = 88;
constexpr std::size_t kIdentitySize = 64;

struct PackageTrailer {
  std::array<std::uint8_t, kIdentitySize> identity{};  // text, zero-terminated, zero-padded
  std::uint64_t projectOffset = 0;
  std::uint64_t projectSize = 0;
  std::uint32_t reserved = 0;
  std::uint32_t volumeNumber = 0;

  // The identity bytes up to the first zero (all 64 when there is none).
  std::string IdentityText() const;
  // Stores `text` as the identity; false (nothing changed) when it does not fit with its zero.
  bool SetIdentityText(std::string_view text);
  // Volume files are accepted only when their identity matches the setup file's.
  bool SameIdentity(const PackageTrailer& other) const;

  static PackageTrailer Decode(const std::array<std::uint8_t, kTrailerSize>& bytes);
  std::array<std::uint8_t, kTrailerSize> Encode() const;
};

// Reads the last 88 bytes of `file`. Nothing when the file is shorter than a trailer or cannot
// be read; the content is not checked otherwise (there is no magic number).
std::optional<PackageTrailer> ReadPackageTrailer(platform::File& file);

// A setup file's trailer and the file position of its first byte.
struct LocatedTrailer {
  std::uint64_t position = 0;
  PackageTrailer trailer;
};

// Finds the trailer of a setup file: the last 88 bytes when they hold a trailer whose project
// stream lies before it; otherwise, in a PE image whose certificate table (appended by code
// signing) ends the file, the 88 bytes before that table, after up to 7 zero bytes of padding.
// Nothing when neither holds or when the certificate directory is not sound.
std::optional<LocatedTrailer> LocateSetupTrailer(platform::File& file);

}  // namespace tarn::package
