#include <gtest/gtest.h>

#include "core/charset.h"

namespace talvo {
namespace {

constexpr std::string_view kTitleGbk =
    "\xCB\xFE\xCE\xD6\xB8\xDF\xC7\xE5\xD3\xB0\xD2\xF4\x20\x56\x32\x2E\x30\x32";

TEST(DecodeBytes, EveryGbkLabelDecodesGbk) {
  for (const char16_t* label : {u"gb2312", u"GB2312", u" gbk ", u"x-gbk", u"chinese", u"csgb2312",
                                u"gb18030", u"iso-ir-58"}) {
    EXPECT_EQ(DecodeBytes(kTitleGbk, label), u"塔沃高清影音 V2.02");
  }
}

// GB18030's four bytes under a GBK label, other charsets under their own, no text under a label
// nobody knows; a byte that cannot begin or end a character is one replacement, the rest kept.
TEST(DecodeBytes, EachLabelReadsItsCharsetAndBadBytesAloneAreReplaced) {
  const struct {
    std::string_view bytes;
    const char16_t* label;
    std::u16string_view text;
  } rows[] = {
      {"\x94\x39\xFC\x36", u"gb2312", u"\U0001F600"},
      {"\xB9\x71\xB5\xF8", u"big5", u"電視"},
      {"\xE5\x8D\xAB\xE8\xA7\x86", u"utf-8", u"卫视"},
      {"caf\xE9", u"iso-8859-1", u"café"},
      {kTitleGbk, u"klingon", u""},
      {kTitleGbk, u"", u""},
      {kTitleGbk, u"gb2312\u00E9", u""},
      {"\xCE\x30\xCE\xC0", u"gb2312", u"\uFFFD0卫"},  // a lead byte nothing may trail
      {"\xFF\xCE\xC0", u"gbk", u"\uFFFD卫"},
      {"\x87\x36\xD7\x36\x25", u"gb2312", u"\uFFFD6\uFFFD6%"},  // not four bytes after all
      {"\xCE\xC0\xCA", u"gb2312", u"卫\uFFFD"},                 // cut off in a character
      {"\xB9\x71\xB5", u"big5", u"電\uFFFD"},
  };
  for (const auto& row : rows) EXPECT_EQ(DecodeBytes(row.bytes, row.label), row.text) << row.bytes;
}

TEST(DecodeBytes, LargeBodiesDecodeWhole) {
  std::string body;
  std::u16string expected;
  for (int i = 0; i < 20000; ++i) {
    body += "\xCE\xC0\xCA\xD3\r\n";
    expected += u"卫视\r\n";
  }
  EXPECT_EQ(DecodeBytes(body, u"gb2312"), expected);
}

// What the client sends must come back as it was typed when the service decodes it.
TEST(EncodeGbk, RoundTripsThroughTheDecoderAndMarksLoneSurrogates) {
  for (const std::u16string text : {u"", u"viewer", u"塔沃高清影音 V2.02", u"張三 \U0001F600 €"}) {
    EXPECT_EQ(DecodeBytes(EncodeGbk(text), u"gbk"), text);
  }
  EXPECT_EQ(EncodeGbk(u"a\xD800"
                      u"b"),
            "a?b");
  EXPECT_EQ(EncodeGbk(u"\xDC00"), "?");
}

}  // namespace
}  // namespace talvo
