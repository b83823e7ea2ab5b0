#pragma once
// The writing side of the package's compressed streams: LZMA "alone" with properties 0x5D
// (lc 3, lp 0, pb 2), an 8 MiB dictionary and the exact uncompressed size in the header, no end
// marker. Kept apart from the reader so that neither can hide the other's mistakes.

#include <cstdint>
#include <functional>
#include <istream>
#include <string>

namespace tarnpack {

// Receives the compressed bytes as they are produced; false stops the encoding.
using ByteSink = std::function<bool(const std::uint8_t* data, std::size_t size)>;

// Told how many bytes were just read from the input.
using ReadProgress = std::function<void(std::size_t size)>;

// Compresses exactly `size` bytes from `in`. False when the input ends early or the sink fails.
bool WriteLzmaStream(std::istream& in, std::uint64_t size, const ByteSink& sink, std::string& error,
                     const ReadProgress& read = {});

// Compresses a string in memory (the project document).
std::string LzmaCompress(const std::string& data);

}  // namespace tarnpack
