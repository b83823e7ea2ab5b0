#pragma once
// The process-wide reader of the package: keeps the current volume open, reads one stream from
// a package offset, decodes it (LZMA "alone") or copies it (stored), and writes the target file.
// Volumes after the first are opened on demand, asking the user through a VolumePrompt when a
// volume is not found next to the setup file.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "package/DiskFile.h"
#include "package/PackageEntry.h"
#include "package/PackageTrailer.h"
#include "package/VolumePrompt.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace tarn::package {

// The entry's time stamp, read as local time; nothing when the clock cannot convert it.
std::optional<platform::FileTime> EntryFileTime(const PackageEntry& entry, platform::Clock& clock);

class PackageReader {
 public:
  // Volume paths live in a fixed field of 499 characters in the file format's tools; a longer
  // path is treated as a missing volume.
  static constexpr std::size_t kMaxVolumePath = 499;
  static constexpr std::size_t kCopyBufferSize = 40960;
  // The largest LZMA dictionary a stream may ask for (after it is cut to the stream's size).
  // Encoders use 64 MiB at most at their strongest settings; the decoder allocates all of it at
  // once, which a 32-bit address space cannot promise for much more.
  static constexpr std::uint32_t kMaxDictionarySize = UINT32_C(256) << 20;

  // `codePage` is the ANSI code page of the paths, so that a trail byte is never taken for a
  // backslash when the volume folder is split off.
  PackageReader(platform::FileSystem& fs, std::atomic<bool>& extractionOver,
                std::uint32_t codePage = 0);

  // The setup file's trailer; its volume fields follow every volume switch.
  void SetTrailer(const PackageTrailer& trailer) { trailer_ = trailer; }
  const PackageTrailer& Trailer() const { return trailer_; }
  // Volume capacity D: the project size while the project stream is read, DiskSize afterwards.
  void SetCapacity(std::int64_t capacity) { capacity_ = capacity; }
  std::int64_t Capacity() const { return capacity_; }
  // Not owned; without one a missing volume counts as given up.
  void SetVolumePrompt(VolumePrompt* prompt) { prompt_ = prompt; }
  void SetSpanning(bool on) { spanning_ = on; }
  bool Spanning() const { return spanning_; }

  // Opens a package file as the current volume. With `checkIdentity` the file's trailer must
  // carry the setup file's identity; without it, the file's folder becomes the volume folder.
  bool OpenVolume(const std::string& path, bool checkIdentity);
  // Opens volume current + 1: from the volume folder, else wherever the user points.
  bool OpenNextVolume();

  // Writes the stream at `offset` of `size` bytes to `target`, replacing any file there. With
  // `stamp`, a whole file gets it as its three times before it is closed.
  bool ExtractEntry(const std::string& target, std::int64_t offset, std::int64_t size, bool stored,
                    std::optional<platform::FileTime> stamp = std::nullopt);

  // Sets the creation, last-access and last-write times of the entry's expanded target to the
  // entry's time stamp, read as local time. Nothing happens when the file cannot be opened.
  void ApplyTimeStamp(const PackageEntry& entry, platform::Clock& clock);
  // The same for another file, such as the entry's new version before it takes its place.
  void ApplyTimeStamp(const PackageEntry& entry, platform::Clock& clock, const std::string& path);

  std::int32_t CurrentVolume() const { return currentVolume_; }
  const std::string& VolumeFolder() const { return volumeFolder_; }
  const std::string& VolumePath() const { return volumePath_; }

 private:
  // Reads up to `count` bytes of the current stream, crossing volume ends as needed. `got` is
  // short only at the end of the stream or when a volume file is shorter than it should be.
  bool ChunkRead(std::uint8_t* buffer, std::size_t count, std::size_t& got);
  bool CopyStored();
  bool DecodeCompressed();

  platform::FileSystem& fs_;
  std::atomic<bool>& extractionOver_;
  std::uint32_t codePage_;
  VolumePrompt* prompt_ = nullptr;

  PackageTrailer trailer_;
  std::int64_t capacity_ = 0;

  DiskFile target_;
  DiskFile volume_;
  std::string volumePath_;
  std::string volumeFolder_;
  std::int32_t currentVolume_ = 1;
  bool spanning_ = false;

  std::uint64_t streamLength_ = 0;
  std::uint64_t streamRead_ = 0;
  std::uint64_t volumeUsed_ = 0;
  std::uint64_t uncompressedSize_ = 0;

  std::vector<std::uint8_t> inBuffer_;
  std::vector<std::uint8_t> outBuffer_;
};

}  // namespace tarn::package
