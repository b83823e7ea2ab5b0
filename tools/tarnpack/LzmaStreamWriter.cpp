#include "tarnpack/LzmaStreamWriter.h"

#include <lzma.h>

#include <sstream>
#include <vector>

#include "package/LzmaHeader.h"

namespace tarnpack {

namespace {

constexpr std::uint32_t kDictionary = 8u << 20;

class Encoder {
 public:
  ~Encoder() { lzma_end(&stream_); }
  lzma_stream* get() { return &stream_; }

 private:
  lzma_stream stream_ = LZMA_STREAM_INIT;
};

}  // namespace

bool WriteLzmaStream(std::istream& in, std::uint64_t size, const ByteSink& sink, std::string& error,
                     const ReadProgress& read) {
  lzma_options_lzma options{};
  lzma_lzma_preset(&options, 6);
  options.dict_size = kDictionary;
  options.lc = 3;
  options.lp = 0;
  options.pb = 2;
  options.ext_flags = 0;
  options.ext_size_low = static_cast<std::uint32_t>(size);
  options.ext_size_high = static_cast<std::uint32_t>(size >> 32);
  const lzma_filter filters[] = {{LZMA_FILTER_LZMA1EXT, &options}, {LZMA_VLI_UNKNOWN, nullptr}};

  tarn::package::LzmaHeader header;
  header.properties = tarn::package::EncodeLzmaProperties({3, 0, 2});
  header.dictionarySize = kDictionary;
  header.uncompressedSize = size;
  const auto headerBytes = tarn::package::EncodeLzmaHeader(header);
  if (!sink(headerBytes.data(), headerBytes.size())) {
    error = "cannot write the package";
    return false;
  }

  Encoder encoder;
  lzma_stream* strm = encoder.get();
  if (lzma_raw_encoder(strm, filters) != LZMA_OK) {
    error = "cannot start the LZMA encoder";
    return false;
  }
  std::vector<std::uint8_t> inBuf(1 << 16), outBuf(1 << 16);
  std::uint64_t left = size;
  strm->next_out = outBuf.data();
  strm->avail_out = outBuf.size();
  for (;;) {
    lzma_action action = LZMA_RUN;
    if (strm->avail_in == 0 && left > 0) {
      const std::size_t want =
          static_cast<std::size_t>(std::min<std::uint64_t>(left, inBuf.size()));
      in.read(reinterpret_cast<char*>(inBuf.data()), static_cast<std::streamsize>(want));
      if (static_cast<std::size_t>(in.gcount()) != want) {
        error = "the file is shorter than it was a moment ago";
        return false;
      }
      left -= want;
      if (read) read(want);
      strm->next_in = inBuf.data();
      strm->avail_in = want;
    }
    if (left == 0) action = LZMA_FINISH;
    const lzma_ret ret = lzma_code(strm, action);
    if (strm->avail_out == 0 || ret == LZMA_STREAM_END) {
      const std::size_t produced = outBuf.size() - strm->avail_out;
      if (produced > 0 && !sink(outBuf.data(), produced)) {
        error = "cannot write the package";
        return false;
      }
      strm->next_out = outBuf.data();
      strm->avail_out = outBuf.size();
    }
    if (ret == LZMA_STREAM_END) return true;
    if (ret != LZMA_OK) {
      error = "LZMA encoder error " + std::to_string(static_cast<int>(ret));
      return false;
    }
  }
}

std::string LzmaCompress(const std::string& data) {
  std::istringstream in(data);
  std::string out, error;
  WriteLzmaStream(
      in, data.size(),
      [&](const std::uint8_t* d, std::size_t n) {
        out.append(reinterpret_cast<const char*>(d), n);
        return true;
      },
      error);
  return out;
}

}  // namespace tarnpack
