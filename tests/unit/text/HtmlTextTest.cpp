#include "text/HtmlText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace tarn::text {
namespace {

// Latin-1 letters and the euro sign, as a Windows-1252 system writes them.
std::string Latin1(char32_t c) {
  if (c == 0x20AC) return "\x80";
  if (c < 0x100) return std::string(1, static_cast<char>(c));
  return {};
}

TEST(HtmlText, TextAsABrowserLaysItOut) {
  struct Case {
    const char* name;
    std::string html;
    std::string text;
    std::uint32_t codePage = 1252;
  } cases[] = {
      {"inline tags", "<b>bold</b> and <I class=\"a>b\">it</I>", "bold and it"},
      {"white space collapses", "  Hello \r\n\t  world  ", "Hello world"},
      {"paragraphs", "<p>One</p>\n<P>Two\n</p>", "One\r\n\r\nTwo"},
      {"headings and divs", "<h1>Title</h1><div>a</div><div>b</div>", "Title\r\n\r\na\r\nb"},
      {"line breaks", "a<br>b<br/>c<br><br>d", "a\r\nb\r\nc\r\n\r\nd"},
      {"script and style dropped",
       "<style>p { color: red }</style>Text<script>if (a<b && c>d) x('</p>');</script>"
       "<SCRIPT type=x>y</SCRIPT >!",
       "Text!"},
      {"head and title dropped",
       "<!DOCTYPE html><html><head><title>T</title><meta charset=x></head>"
       "<body>Body</body></html>",
       "Body"},
      {"named and numeric entities", "&lt;&gt;&amp;&quot;&apos;&#65;&#x42;&#X43;", "<>&\"'ABC"},
      {"characters outside ASCII without an encoder", "&copy; &#x263A; &mdash; &hellip;",
       "(c) ? - ..."},
      {"no-break spaces do not collapse", "a&nbsp;&nbsp;b", "a  b"},
      {"truncated and unknown entities", "AT&T &am &amp &copy &#65 &# &#x; &zz; & ;",
       "AT&T &am & (c) A &# &#x; &zz; & ;"},
      {"huge and invalid code points", "&#99999999999;&#0;&#xD800;", "???"},
      {"Windows-1252 numbers", "&#150;&#147;x&#148;", "-\"x\""},
      {"ordered and bulleted lists",
       "<ol><li>First<li>Second</ol><ul><li>Dot<ul><li>Inner</ul></ul>",
       "1. First\r\n2. Second\r\n\r\n* Dot\r\n\r\n  * Inner"},
      {"tables", "<table><tr><td>a</td> <td> b</td></tr><tr><th>c</th></tr></table>x",
       "a\tb\r\nc\r\n\r\nx"},
      {"preformatted text", "<pre>\n a  b\n\n c</pre>after", " a  b\r\n\r\n c\r\n\r\nafter"},
      {"comments", "a<!-- <p>hidden</p> -->b", "ab"},
      {"unclosed comment hides the rest", "a<!-- never closed <p>x", "a"},
      {"unclosed tag hides the rest", "text <a href=\"x>more", "text"},
      {"tag cut off at the end", "text <p", "text"},
      {"unclosed script hides the rest", "a<script>b", "a"},
      {"a lone less-than stays", "1 < 2 and 3 <4 <", "1 < 2 and 3 <4 <"},
      {"declarations and bogus end tags", "<?xml x?><!x>a</ >b</>c", "abc"},
      {"double-byte trail bytes are no markup", "\xC4<b>x", "\xC4<b>x", 936},
      {"single-byte page sees the tag", "\xC4<b>x", "\xC4x", 1252},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HtmlToText(c.html, c.codePage), c.text) << c.name;
  }
  // With an encoder, characters of the code page are written as such.
  EXPECT_EQ(HtmlToText("&eacute;t&eacute; &euro;5 &#233; &#x263A;", 1252, Latin1),
            "\xE9t\xE9 \x80"
            "5 \xE9 ?");
}

TEST(HtmlText, SampleLicenceReadsInOrder) {
  std::ifstream in(std::string(TARN_SAMPLE_DIR) + "/docs/licence.htm", std::ios::binary);
  ASSERT_TRUE(in.good());
  std::stringstream html;
  html << in.rdbuf();
  const std::string text = HtmlToText(html.str(), 1252);
  const std::string start = "Tarn Sample 1.0 licence agreement\r\n\r\nPlease read this agreement";
  EXPECT_EQ(text.substr(0, start.size()), start);
  EXPECT_NE(text.find("\r\n\r\n1. TarnSoft Samples gives you permission to install and use Tarn "
                      "Sample on as many computers as you like, free of charge.\r\n2. You may"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("font-family"), std::string::npos);
  EXPECT_EQ(text.find("<"), std::string::npos);
  const std::string end = "agreement and setup will end without installing anything.";
  EXPECT_EQ(text.substr(text.size() - end.size()), end);
}

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

TEST(HtmlText, WebArchives) {
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

TEST(HtmlText, TransferEncodings) {
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

TEST(HtmlText, HostileInputNeverCrashes) {
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
