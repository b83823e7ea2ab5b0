#pragma once
// What the benchmarks are fed: sizes taken from the environment and file contents made up on
// the spot. Contents come from a fixed seed so that every run, and every build compared with
// another, decodes and writes the very same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace tarn::bench {

// A positive whole number from the environment variable `name`, else `fallback`.
inline std::size_t Setting(const char* name, std::size_t fallback) {
  const char* text = std::getenv(name);
  const long value = text ? std::strtol(text, nullptr, 10) : 0;
  return value > 0 ? static_cast<std::size_t>(value) : fallback;
}

// xorshift64: fast, and the same sequence on every platform for a given seed.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }

 private:
  std::uint64_t state_;
};

// Words drawn from `words`, with numbers and punctuation between them: compresses about as well
// as English prose or source code, without the long exact repeats that would flatter the
// decoder. A larger vocabulary compresses a little less well.
template <std::size_t N>
std::string TextLike(std::size_t size, std::uint64_t seed, const char* const (&words)[N]) {
  Random random(seed);
  std::string text;
  text.reserve(size + 64);
  while (text.size() < size) {
    const std::uint64_t r = random.Next();
    const std::uint64_t pick = r % (N + 16);
    if (pick < N) {
      text += words[pick];
      text += ' ';
    } else if (pick < N + 6) {
      text += std::to_string((r >> 8) % 100000);
      text += ' ';
    } else if (pick < N + 12) {
      text += ", ";
    } else {
      text += ".\r\n";
    }
  }
  text.resize(size);
  return text;
}

// Random bytes: almost nothing for the compressor to find, so the decoder spends its time on
// the range coder.
inline std::string Noise(std::size_t size, std::uint64_t seed) {
  Random random(seed);
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i + 8 <= size; i += 8) {
    const std::uint64_t r = random.Next();
    for (int k = 0; k < 8; ++k) bytes[i + k] = static_cast<char>(r >> (8 * k));
  }
  return bytes;
}

}  // namespace tarn::bench
