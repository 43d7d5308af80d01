#include "core/utf.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

TEST(Utf, RoundTripsAsciiChineseAndAstralCharacters) {
  const std::u16string text = u"abc 塔沃高清 \U0001F600 ~";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
  EXPECT_EQ(Utf16ToUtf8(u"卫视"), "\xE5\x8D\xAB\xE8\xA7\x86");
}

TEST(Utf, MalformedUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("a\xE5\x8D"), u"a\uFFFD");  // truncated at the end
  EXPECT_EQ(Utf8ToUtf16("\xE5\x8D"
                        "b"),
            u"\uFFFDb");                                // broken, then ASCII survives
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong lead is invalid
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");    // encoded surrogate
}

TEST(Utf, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::u16string lone = {u'a', static_cast<char16_t>(0xD800), u'b'};
  EXPECT_EQ(Utf16ToUtf8(lone),
            "a\xEF\xBF\xBD"
            "b");
}

}  // namespace
}  // namespace talvo
