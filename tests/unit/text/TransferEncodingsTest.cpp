#include "text/TransferEncodings.h"

#include <gtest/gtest.h>

#include <string>

namespace tarn::text {
namespace {

TEST(TransferEncodings, QuotedPrintableAndBase64) {
  struct Case {
    std::string encoded;
    std::string decoded;
  } quotedPrintable[] = {
      {"a=3Db=3db", "a=b=b"},
      {"soft=\r\nbreak and= \t\r\nblanks=\nLF", "softbreak andblanksLF"},
      {"bad =ZZ =4", "bad =ZZ =4"},
      {"ends with =", "ends with "},
      {"=E9=\r\n", "\xE9"},
  };
  for (const Case& c : quotedPrintable) EXPECT_EQ(DecodeQuotedPrintable(c.encoded), c.decoded);
  const Case base64[] = {
      {"SGVsbG8=", "Hello"},
      {"SGVs\r\nbG8", "Hello"},
      {"SGVsbG8gd29ybGQ=\r\n", "Hello world"},
      {"S?G!V*s", "Hel"},
      {"=SGVs", ""},
      {"", ""},
  };
  for (const Case& c : base64) EXPECT_EQ(DecodeBase64(c.encoded), c.decoded) << c.encoded;
}

}  // namespace
}  // namespace tarn::text
