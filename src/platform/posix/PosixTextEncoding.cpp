#include <iconv.h>

#include <cerrno>

#include "platform/TextEncoding.h"

namespace tarn::platform {

namespace {

class Converter {
 public:
  explicit Converter(std::uint32_t codePage)
      : cd_(iconv_open("UTF-8", ("CP" + std::to_string(codePage)).c_str())) {}
  ~Converter() {
    if (Ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t Get() const { return cd_; }

 private:
  iconv_t cd_;
};

constexpr const char* kReplacement = "\xEF\xBF\xBD";

}  // namespace

std::string AnsiToUtf8(std::string_view text, std::uint32_t codePage) {
  const Converter converter(codePage);
  std::string out;
  if (!converter.Ok()) {
    // A code page this system cannot convert: ASCII stays, the rest is marked unknown.
    for (const char c : text)
      out += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : kReplacement;
    return out;
  }
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char buffer[256];
  while (inLeft > 0) {
    char* next = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t done = iconv(converter.Get(), &in, &inLeft, &next, &outLeft);
    out.append(buffer, static_cast<std::size_t>(next - buffer));
    if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // An invalid or cut-off character: mark it and go on after its first byte.
      out += kReplacement;
      ++in;
      --inLeft;
      iconv(converter.Get(), nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

}  // namespace tarn::platform
