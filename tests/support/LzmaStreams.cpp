#include "support/LzmaStreams.h"

#include <lzma.h>

#include <stdexcept>
#include <vector>

#include "package/LittleEndian.h"

namespace tarn::test {

namespace {

std::string RunEncoder(lzma_stream& strm, const std::string& data) {
  std::vector<std::uint8_t> out(data.size() + data.size() / 2 + 1024);
  strm.next_in = reinterpret_cast<const std::uint8_t*>(data.data());
  strm.avail_in = data.size();
  strm.next_out = out.data();
  strm.avail_out = out.size();
  const lzma_ret ret = lzma_code(&strm, LZMA_FINISH);
  const std::size_t produced = out.size() - strm.avail_out;
  lzma_end(&strm);
  if (ret != LZMA_STREAM_END) throw std::runtime_error("lzma encoder failed");
  return std::string(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(produced));
}

lzma_options_lzma Preset(std::uint32_t preset) {
  lzma_options_lzma options{};
  if (lzma_lzma_preset(&options, preset)) throw std::runtime_error("bad preset");
  return options;
}

}  // namespace

std::string LzmaWithEndMarker(const std::string& data, std::uint32_t preset) {
  lzma_options_lzma options = Preset(preset);
  lzma_stream strm = LZMA_STREAM_INIT;
  if (lzma_alone_encoder(&strm, &options) != LZMA_OK) throw std::runtime_error("alone encoder");
  std::string stream = RunEncoder(strm, data);
  package::StoreLe64(reinterpret_cast<std::uint8_t*>(&stream[5]), data.size());
  return stream;
}

std::string LzmaWithoutEndMarker(const std::string& data, std::uint32_t preset) {
  lzma_options_lzma options = Preset(preset);
  options.ext_flags = 0;
  options.ext_size_low = static_cast<std::uint32_t>(data.size());
  options.ext_size_high = static_cast<std::uint32_t>(static_cast<std::uint64_t>(data.size()) >> 32);
  const lzma_filter filters[] = {{LZMA_FILTER_LZMA1EXT, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
  lzma_stream strm = LZMA_STREAM_INIT;
  if (lzma_raw_encoder(&strm, filters) != LZMA_OK) throw std::runtime_error("raw encoder");
  std::string header(13, '\0');
  auto* h = reinterpret_cast<std::uint8_t*>(&header[0]);
  h[0] = static_cast<std::uint8_t>((options.pb * 5 + options.lp) * 9 + options.lc);
  package::StoreLe32(h + 1, options.dict_size);
  package::StoreLe64(h + 5, data.size());
  return header + RunEncoder(strm, data);
}

std::string NoiseBytes(std::size_t size, std::uint32_t seed) {
  std::string out(size, '\0');
  std::uint32_t x = seed * 2654435761u + 1;
  for (char& c : out) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = static_cast<char>(x >> 24);
  }
  return out;
}

}  // namespace tarn::test
