#pragma once
// SHA-256 of a byte string, for telling whether a file is still the one that was written.

#include <string>
#include <string_view>

namespace tarn::digest {

// The 64 lower-case hexadecimal digits of the digest of `bytes`.
std::string Sha256Hex(std::string_view bytes);

}  // namespace tarn::digest
