#include "text/HtmlReader.h"

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

TEST(HtmlReader, TextAsABrowserLaysItOut) {
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

TEST(HtmlReader, SampleLicenceReadsInOrder) {
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

}  // namespace
}  // namespace tarn::text
