#include "package/PackageReader.h"

#include <lzma.h>

#include <algorithm>

#include "package/LzmaHeader.h"
#include "package/PackageAddress.h"
#include "text/ByteText.h"
#include "text/PathParts.h"

namespace tarn::package {

namespace {

constexpr std::size_t kDecodeInSize = 64 * 1024;
constexpr std::size_t kDecodeOutSize = 256 * 1024;

// liblzma's smallest LZMA1 dictionary.
constexpr std::uint32_t kMinDictionary = 4096;

class LzmaDecoder {
 public:
  ~LzmaDecoder() { lzma_end(&stream_); }
  lzma_stream* operator->() { return &stream_; }
  lzma_stream* get() { return &stream_; }

 private:
  lzma_stream stream_ = LZMA_STREAM_INIT;
};

}  // namespace

PackageReader::PackageReader(platform::FileSystem& fs, std::atomic<bool>& extractionOver,
                             std::uint32_t codePage)
    : fs_(fs), extractionOver_(extractionOver), codePage_(codePage), target_(fs), volume_(fs) {}

bool PackageReader::OpenVolume(const std::string& path, bool checkIdentity) {
  volume_.Close();
  if (path.size() > kMaxVolumePath) return false;
  if (!volume_.Open(path, DiskFile::Mode::Read)) return false;
  volumePath_ = path;
  volumeUsed_ = 0;

  if (checkIdentity) {
    std::array<std::uint8_t, kTrailerSize> bytes{};
    std::size_t got = 0;
    const bool read = volume_.Length() >= kTrailerSize &&
                      volume_.Seek(static_cast<std::int64_t>(volume_.Length() - kTrailerSize),
                                   platform::SeekOrigin::Begin) &&
                      volume_.Read(bytes.data(), bytes.size(), got) && got == bytes.size();
    if (!read || !PackageTrailer::Decode(bytes).SameIdentity(trailer_)) {
      volume_.Close();
      return false;
    }
  } else {
    volumeFolder_ = text::FolderWithBackslash(path, codePage_);
  }
  return volume_.Seek(0, platform::SeekOrigin::Begin);
}

bool PackageReader::OpenNextVolume() {
  const std::int32_t next = currentVolume_ + 1;
  const std::string expected = volumeFolder_ + VolumeFileName(next);
  bool opened = OpenVolume(expected, true);
  while (!opened) {
    if (!prompt_) return false;
    const auto chosen = prompt_->AskForVolume(expected, next);
    if (!chosen || chosen->empty()) return false;
    opened = OpenVolume(*chosen, true);
  }
  currentVolume_ = next;
  trailer_.reserved = static_cast<std::uint32_t>(next);
  trailer_.volumeNumber = static_cast<std::uint32_t>(next);
  return true;
}

bool PackageReader::ExtractEntry(const std::string& target, std::int64_t offset, std::int64_t size,
                                 bool stored, std::optional<platform::FileTime> stamp) {
  if (size < 0 || offset < 0) return false;
  std::int64_t position = offset;
  if (spanning_) {
    const auto at = LocateOffset(offset, capacity_);
    if (!at) return false;
    if (at->volume != static_cast<std::int64_t>(trailer_.volumeNumber)) {
      // Volumes are only ever visited in order, one at a time.
      if (at->volume != static_cast<std::int64_t>(currentVolume_) + 1) return false;
      if (!OpenNextVolume()) {
        extractionOver_ = true;
        return false;
      }
    }
    volumeUsed_ = static_cast<std::uint64_t>(at->position);
    position = at->position;
  }
  streamRead_ = 0;
  streamLength_ = static_cast<std::uint64_t>(size);

  if (!volume_.IsOpen()) return false;
  if (!target_.Open(target, DiskFile::Mode::Write)) return false;
  // Closed on every way out, an exception included: no handle on the file outlives the call.
  struct CloseAtEnd {
    DiskFile& file;
    ~CloseAtEnd() { file.Close(); }
  } closeAtEnd{target_};
  bool ok = true;
  if (size > 0) {
    ok = volume_.Seek(position, platform::SeekOrigin::Begin) &&
         (stored ? CopyStored() : DecodeCompressed());
    if (ok && !stored && extractionOver_) ok = false;
  }
  if (ok && stamp) target_.SetTimes(*stamp);
  target_.Close();
  // A half-written file is neither the old version nor the new one: take it away.
  if (!ok) fs_.RemoveFile(target);
  return ok;
}

void PackageReader::ApplyTimeStamp(const PackageEntry& entry, platform::Clock& clock) {
  ApplyTimeStamp(entry, clock, entry.ExpandedTarget());
}

std::optional<platform::FileTime> EntryFileTime(const PackageEntry& entry, platform::Clock& clock) {
  const CalendarTime t = entry.TimeStamp();
  platform::SystemTime local;
  local.year = static_cast<std::uint16_t>(t.year);
  local.month = static_cast<std::uint16_t>(t.month);
  local.day = static_cast<std::uint16_t>(t.day);
  local.hour = static_cast<std::uint16_t>(t.hour);
  local.minute = static_cast<std::uint16_t>(t.minute);
  local.second = static_cast<std::uint16_t>(t.second);
  return clock.LocalToFileTime(local);
}

void PackageReader::ApplyTimeStamp(const PackageEntry& entry, platform::Clock& clock,
                                   const std::string& path) {
  const auto when = EntryFileTime(entry, clock);
  if (!when) return;
  auto file = fs_.Open(path, platform::OpenMode::Update);
  if (file) file->SetTimes(*when, *when, *when);
}

bool PackageReader::ChunkRead(std::uint8_t* buffer, std::size_t count, std::size_t& got) {
  got = 0;
  const std::uint64_t left = streamLength_ - streamRead_;
  if (count > left) count = static_cast<std::size_t>(left);
  const std::uint64_t capacity = static_cast<std::uint64_t>(std::max<std::int64_t>(capacity_, 0));
  while (count > 0) {
    std::size_t want = count;
    const bool volumeEnds = volumeUsed_ + want > capacity;
    if (volumeEnds)
      want = static_cast<std::size_t>(capacity > volumeUsed_ ? capacity - volumeUsed_ : 0);
    if (want > 0) {
      std::size_t n = 0;
      if (!volume_.Read(buffer + got, want, n)) return false;
      got += n;
      streamRead_ += n;
      volumeUsed_ += n;
      count -= n;
      if (n < want) return true;  // the volume file ends early: a truncated package
    }
    if (volumeEnds) {
      if (!OpenNextVolume()) {
        extractionOver_ = true;
        return false;
      }
    }
  }
  return true;
}

bool PackageReader::CopyStored() {
  std::vector<std::uint8_t> piece(kCopyBufferSize);
  std::uint64_t left = streamLength_;
  while (left > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, piece.size()));
    std::size_t got = 0;
    if (!ChunkRead(piece.data(), want, got)) return false;
    // A short piece means the package is truncated; never write stale buffer bytes.
    if (got != want) return false;
    if (!target_.Write(piece.data(), got)) return false;
    left -= got;
  }
  return true;
}

bool PackageReader::DecodeCompressed() {
  std::array<std::uint8_t, kLzmaHeaderSize> headerBytes{};
  std::size_t got = 0;
  if (!ChunkRead(headerBytes.data(), 5, got) || got != 5) return false;
  if (!ChunkRead(headerBytes.data() + 5, 8, got) || got != 8) return false;
  const LzmaHeader header = DecodeLzmaHeader(headerBytes);
  uncompressedSize_ = header.uncompressedSize;

  const auto props = DecodeLzmaProperties(header.properties);
  // All ones means "size unknown": the installer needs the exact length of every file.
  if (!props || header.uncompressedSize == UINT64_MAX) return false;

  lzma_options_lzma options{};
  options.lc = props->lc;
  options.lp = props->lp;
  options.pb = props->pb;
  // The decoder never looks further back than what it has produced, so a dictionary larger than
  // the file is wasted memory.
  std::uint64_t dictionary = header.dictionarySize;
  dictionary = std::min<std::uint64_t>(dictionary, header.uncompressedSize);
  dictionary = std::max<std::uint64_t>(dictionary, kMinDictionary);
  if (dictionary > kMaxDictionarySize) return false;
  options.dict_size = static_cast<std::uint32_t>(dictionary);
  // Accept both forms in use: a known size with or without an end marker after the data.
  options.ext_flags = LZMA_LZMA1EXT_ALLOW_EOPM;
  options.ext_size_low = static_cast<std::uint32_t>(header.uncompressedSize);
  options.ext_size_high = static_cast<std::uint32_t>(header.uncompressedSize >> 32);
  const lzma_filter filters[] = {{LZMA_FILTER_LZMA1EXT, &options}, {LZMA_VLI_UNKNOWN, nullptr}};

  LzmaDecoder decoder;
  if (lzma_raw_decoder(decoder.get(), filters) != LZMA_OK) return false;

  inBuffer_.resize(kDecodeInSize);
  outBuffer_.resize(kDecodeOutSize);
  std::uint64_t written = 0;
  bool inputDone = false;
  decoder->next_out = outBuffer_.data();
  decoder->avail_out = outBuffer_.size();
  for (;;) {
    if (decoder->avail_in == 0 && !inputDone) {
      if (!ChunkRead(inBuffer_.data(), inBuffer_.size(), got)) return false;
      decoder->next_in = inBuffer_.data();
      decoder->avail_in = got;
      inputDone = got < inBuffer_.size();
    }
    const lzma_ret ret = lzma_code(decoder.get(), inputDone ? LZMA_FINISH : LZMA_RUN);
    const std::size_t produced = outBuffer_.size() - decoder->avail_out;
    if (decoder->avail_out == 0 || ret == LZMA_STREAM_END) {
      if (produced > 0 && !target_.Write(outBuffer_.data(), produced)) return false;
      written += produced;
      decoder->next_out = outBuffer_.data();
      decoder->avail_out = outBuffer_.size();
    }
    if (ret == LZMA_STREAM_END) break;
    if (ret != LZMA_OK) return false;
  }
  if (written != header.uncompressedSize) return false;

  // Read whatever the stream holds after the decoded data, so that the reads from the package
  // (and any volume switch they cause) do not depend on where the decoder stopped.
  while (streamRead_ < streamLength_) {
    if (!ChunkRead(inBuffer_.data(), inBuffer_.size(), got)) return false;
    if (got == 0) break;
  }
  return true;
}

}  // namespace tarn::package
