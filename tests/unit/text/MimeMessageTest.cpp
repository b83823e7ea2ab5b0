#include "text/MimeMessage.h"

#include <gtest/gtest.h>

#include <string>

namespace tarn::text {
namespace {

const char kQuotedPrintableArchive[] =
    "From: <Saved by a browser>\r\n"
    "Subject: Licence\r\n"
    "MIME-Version: 1.0\r\n"
    "Content-Type: multipart/related;\r\n"
    "\tboundary=\"----=_NextPart_000_0000_01C5; x\";\r\n"
    "\ttype=\"text/html\"\r\n"
    "\r\n"
    "This is a multi-part message in MIME format.\r\n"
    "\r\n"
    "------=_NextPart_000_0000_01C5; x\r\n"
    "Content-Type: text/html;\r\n"
    "\tcharset=\"Windows-1252\"\r\n"
    "Content-Transfer-Encoding: quoted-printable\r\n"
    "Content-Location: file:///C:/licence.htm\r\n"
    "\r\n"
    "<html><body><p class=3D\"x\">Caf=E9 terms apply to every=\r\n"
    " user.</p><p>Line two=3D2</p></body></html>\r\n"
    "\r\n"
    "------=_NextPart_000_0000_01C5; x\r\n"
    "Content-Type: image/gif\r\n"
    "Content-Transfer-Encoding: base64\r\n"
    "\r\n"
    "R0lGODlhAQABAAAAACw=\r\n"
    "\r\n"
    "------=_NextPart_000_0000_01C5; x--\r\n";

TEST(MimeMessage, WebArchives) {
  EXPECT_EQ(MhtHtmlPart(kQuotedPrintableArchive),
            "<html><body><p class=\"x\">Caf\xE9 terms apply to every user.</p><p>Line "
            "two=2</p></body></html>\r\n");
  EXPECT_EQ(MhtToText(kQuotedPrintableArchive, 1252),
            "Caf\xE9 terms apply to every user.\r\n\r\nLine two=2");

  // A base64 part after an image part, in a nested multipart/alternative, LF line ends.
  const std::string nested =
      "MIME-Version: 1.0\n"
      "Content-Type: multipart/related; boundary=outer\n"
      "\n"
      "--outer\n"
      "Content-Type: image/png\n"
      "\n"
      "PNG\n"
      "--outer\n"
      "Content-Type: multipart/alternative; boundary=\"inner\"\n"
      "\n"
      "--inner\n"
      "Content-Type: TEXT/HTML\n"
      "Content-Transfer-Encoding: Base64\n"
      "\n"
      "PGgxPkhlbGxvPC9oMT48cD53b3Js\n"
      "ZCAmYW1wOyBhbGw8L3A+\n"
      "--inner--\n"
      "--outer--\n";
  EXPECT_EQ(MhtHtmlPart(nested), "<h1>Hello</h1><p>world &amp; all</p>");
  EXPECT_EQ(MhtToText(nested, 1252), "Hello\r\n\r\nworld & all");

  // One part only, the closing delimiter missing, plain text, no MIME at all.
  EXPECT_EQ(MhtToText("Content-Type: text/html\r\n\r\n<p>Just <b>one</b></p>", 1252), "Just one");
  EXPECT_EQ(MhtToText("MIME-Version: 1.0\r\nContent-Type: multipart/related; boundary=b\r\n\r\n"
                      "--b\r\nContent-Type: text/html\r\n\r\n<p>cut off",
                      1252),
            "cut off");
  EXPECT_EQ(MhtToText("MIME-Version: 1.0\r\nContent-Type: text/plain\r\n"
                      "Content-Transfer-Encoding: quoted-printable\r\n\r\nfirst=\nline\nsecond <b>",
                      1252),
            "firstline\r\nsecond <b>");
  EXPECT_EQ(MhtToText("<html><p>Not an archive</p>", 1252), "Not an archive");
  EXPECT_EQ(MhtHtmlPart("<html><p>Not an archive</p>"), "");
  EXPECT_EQ(MhtToText("MIME-Version: 1.0\r\nContent-Type: multipart/related\r\n\r\n--\r\n", 1252),
            "");
  EXPECT_EQ(MhtToText("", 1252), "");
}

// The HTML reader too, since every archive ends up in it.
TEST(MimeMessage, HostileInputNeverCrashes) {
  const std::size_t big = 1u << 20;
  const std::string inputs[] = {
      std::string(big, '<'),
      std::string(big, '&'),
      std::string(big / 4, 'x') + "<a href=\"" + std::string(big, 'y'),
      [&] {
        std::string s;
        for (std::size_t i = 0; s.size() < big; ++i) s += "<ol><li>&#";
        return s;
      }(),
      [&] {
        std::string s;
        for (std::size_t i = 0; s.size() < big; ++i) s += "<script></scrip<!--<pre>\xC4";
        return s;
      }(),
  };
  for (const std::string& html : inputs) {
    const std::string text = HtmlToText(html, 936);
    EXPECT_LE(text.size(), html.size() * 4);
    MhtToText("Content-Type: text/html\r\nContent-Transfer-Encoding: base64\r\n\r\n" + html, 936);
  }
  // Multiparts nested far deeper than any archive.
  std::string nested = "MIME-Version: 1.0\r\n";
  for (int i = 0; i < 2000; ++i)
    nested += "Content-Type: multipart/related; boundary=b" + std::to_string(i) + "\r\n\r\n--b" +
              std::to_string(i) + "\r\n";
  nested += "Content-Type: text/html\r\n\r\n<p>deep";
  EXPECT_EQ(MhtToText(nested, 1252), "");
  EXPECT_EQ(HtmlToText(std::string(big, '<') + "<p>end", 1252).substr(0, 3), "<<<");
}

}  // namespace
}  // namespace tarn::text
