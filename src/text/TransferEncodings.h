#pragma once
// The content transfer encodings of MIME bodies. Malformed sequences are kept or skipped, never
// fatal.

#include <string>
#include <string_view>

namespace tarn::text {

std::string DecodeQuotedPrintable(std::string_view encoded);
// Reads the URL-safe alphabet ('-', '_') too; stops at the first '='.
std::string DecodeBase64(std::string_view encoded);

}  // namespace tarn::text
