#include "text/ByteText.h"

#include <gtest/gtest.h>

#include <cmath>

#include "text/Digits.h"

namespace tarn::text {
namespace {

TEST(ByteText, AsciiUpperTouchesOnlyAsciiLetters) {
  EXPECT_EQ(AsciiUpper("abc-XYZ_09"), "ABC-XYZ_09");
  // Bytes above 0x7F (here a GB2312 character and a Latin-1 letter) stay as they are.
  EXPECT_EQ(AsciiUpper("a\xC4\xE3\xE9z"), "A\xC4\xE3\xE9Z");
  EXPECT_TRUE(EqualsIgnoreAsciiCase("SubTask", "SUBTASK"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("Task", "Tasks"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("\xE9", "\xC9"));
}

TEST(ByteText, LeadByteRangesPerCodePage) {
  struct Case {
    std::uint32_t codePage;
    unsigned char byte;
    bool lead;
  } cases[] = {
      {936, 0x80, false}, {936, 0x81, true},  {936, 0xFE, true},   {936, 0xFF, false},
      {950, 0xB3, true},  {950, 0x5C, false}, {949, 0x81, true},   {949, 0x41, false},
      {932, 0x9F, true},  {932, 0xA0, false}, {932, 0xDF, false},  {932, 0xE0, true},
      {932, 0xFC, true},  {932, 0xFD, false}, {1252, 0xB3, false}, {437, 0x81, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsLeadByte(c.byte, c.codePage), c.lead)
        << "code page " << c.codePage << " byte " << int(c.byte);
  }
}

TEST(ByteText, FindSkipsTrailBytes) {
  // Big5 0xB3 0x5C ("許") carries a backslash byte as its trail byte.
  const std::string big5 = "C:\\\xB3\x5C\\x";
  EXPECT_EQ(FindChar(big5, '\\', kCodePageBig5, 3), 5u);
  EXPECT_EQ(FindLastChar(big5, '\\', kCodePageBig5), 5u);
  // A single-byte code page sees every byte.
  EXPECT_EQ(FindChar(big5, '\\', 1252, 3), 4u);
  EXPECT_EQ(FindLastChar(big5, '\\', 1252), 5u);

  // Shift-JIS 0x83 0x5C ("ソ") likewise; 0xA0..0xDF are single-byte katakana there.
  const std::string sjis = "\xB1\\\x83\x5C<";
  EXPECT_EQ(FindChar(sjis, '\\', kCodePageShiftJis), 1u);
  EXPECT_EQ(FindChar(sjis, '\\', kCodePageShiftJis, 2), npos);

  // Substring search only matches on character boundaries.
  const std::string gbk = "\xC4\x3C>x<>";  // 0xC4 0x3C is one character ending in '<'
  EXPECT_EQ(FindText(gbk, "<>", kCodePageGbk), 4u);
  EXPECT_EQ(FindText(gbk, "<>", 1252), 1u);
  EXPECT_EQ(FindText(gbk, "", kCodePageGbk, 2), 2u);
  EXPECT_EQ(FindText("ab", "abc", kCodePageGbk), npos);
  // A lead byte cut off at the end never reads past the text.
  EXPECT_EQ(FindChar("ab\xC4", 'x', kCodePageGbk), npos);
}

TEST(ByteText, FileExtensionIsWhatFollowsTheLastDot) {
  EXPECT_EQ(FileExtension("C:\\a.b\\setup", 1252), "b\\setup");
  EXPECT_EQ(FileExtension("C:\\setup.", 1252), "");
}

TEST(ByteText, SplitCrLfKeepsEverythingButTheSeparator) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"one", {"one"}},
      {"one\r\ntwo\r\n", {"one", "two"}},
      {" a \r\n\r\nb", {" a ", "", "b"}},
      {"lone\nLF\rCR\r\nx", {"lone\nLF\rCR", "x"}},
      {"\r\n", {""}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCrLfLines(c.text), c.lines) << c.text;
}

TEST(ByteText, DecimalParsingLikeTheCRuntime) {
  struct Case {
    const char* text;
    std::int64_t value;
  } cases[] = {
      {"462848", 462848},
      {"  \t42xyz", 42},
      {"-17", -17},
      {"+5", 5},
      {"", 0},
      {"abc", 0},
      {" - 3", 0},
      {"007", 7},
      {"9223372036854775807", INT64_MAX},
      {"99999999999999999999", INT64_MAX},
      {"-9223372036854775808", INT64_MIN},
      {"-99999999999999999999", INT64_MIN},
      {"5000000000", 5000000000LL},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDecimal64(c.text), c.value) << c.text;

  EXPECT_EQ(ParseDecimal32("2147483647"), INT32_MAX);
  EXPECT_EQ(ParseDecimal32("5000000000"), INT32_MAX);
  EXPECT_EQ(ParseDecimal32("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseDecimal32("  28 "), 28);
}

TEST(ByteText, FractionsAndDigitsAsTheRuntimeWritesAndReadsThem) {
  const struct {
    const char* text;
    double value;
  } fractions[] = {
      {"5.33", 5.33},
      {" 9.0", 9.0},
      {"\t-1.5e2", -150.0},
      {"+7", 7.0},
      {".5", 0.5},
      {"0.005", 0.005},
      {"12abc", 12.0},
      {"1e", 1.0},
      {"2E-3x", 0.002},
      {"abc", 0.0},
      {"", 0.0},
      {"- 3", 0.0},
      {"12345678901234567890123", 1.2345678901234568e22},
      {"1e999", HUGE_VAL},
      {"0e999", 0.0},
  };
  for (const auto& c : fractions) EXPECT_DOUBLE_EQ(ParseDecimalFraction(c.text), c.value) << c.text;

  EXPECT_EQ(ZeroPadded(7, 3), "007");
  EXPECT_EQ(ZeroPadded(0), "0");
  EXPECT_EQ(ZeroPadded(2026, 2), "2026");
  EXPECT_EQ(ZeroPadded(UINT64_MAX), "18446744073709551615");
  EXPECT_EQ(HexDigits(0xDEADBEEF, 8, false), "deadbeef");
  EXPECT_EQ(HexDigits(10, 2, true), "0A");
  EXPECT_EQ(HexDigits(0x1F, 1, true), "1F");
}

}  // namespace
}  // namespace tarn::text
