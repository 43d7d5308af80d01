#include "mainwindow/bulletin_menu.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

using Titles = std::array<std::optional<std::u16string>, kBulletinItems>;

TEST(ReadBulletinBlock, FindsTheFirstBlockBetweenOtherText) {
  const auto fields = ReadBulletinBlock(u"会员公告 $$$*新频道*http://x/1*春节*http://x/2*$$$ 更多");
  ASSERT_TRUE(fields);
  EXPECT_EQ(*fields,
            (std::vector<std::u16string>{u"新频道", u"http://x/1", u"春节", u"http://x/2"}));
  EXPECT_EQ(BulletinTitles(*fields), (Titles{u"新频道", u"春节"}));
  EXPECT_EQ(BulletinLink(fields, 1), u"http://x/1");
  EXPECT_EQ(BulletinLink(fields, 2), u"http://x/2");
  EXPECT_EQ(BulletinLink(fields, 3), std::nullopt);
  EXPECT_EQ(BulletinLink(std::nullopt, 1), std::nullopt);
}

TEST(ReadBulletinBlock, NoBlockMeansNothing) {
  for (const std::u16string text :
       {u"", u"about:blank", u"只有结尾*$$$", u"*$$$ 反了 $$$*", u"$$$* 没有结尾", u"$$$*$$$"}) {
    EXPECT_FALSE(ReadBulletinBlock(text)) << testing::PrintToString(text);
  }
  // The closing marker must begin after the opening one: "$$$**$$$" is an empty block.
  EXPECT_EQ(ReadBulletinBlock(u"$$$**$$$"), std::vector<std::u16string>{u""});
}

TEST(ReadBulletinBlock, SixPairsAndOnlyTheFieldsTheItemsUse) {
  std::u16string text = u"$$$*";
  for (int i = 0; i < 10000; ++i) text += u"t*http://x/" + std::u16string(1, u'a' + i % 26) + u"*";
  text += u"end*$$$";
  const auto fields = ReadBulletinBlock(text);
  ASSERT_TRUE(fields);
  EXPECT_EQ(fields->size(), 12u);
  EXPECT_EQ(BulletinTitles(*fields), (Titles{u"t", u"t", u"t", u"t", u"t", u"t"}));
  EXPECT_EQ(BulletinLink(fields, 6), u"http://x/f");
}

TEST(BulletinTitles, BlankPairsLeaveTheirItemAndTitlesKeepTheirSpaces) {
  const std::vector<std::u16string> fields = {u"  A", u"http://a", u"   ",      u"http://b", u"C",
                                              u"",    u"D & E",    u"http://d", u"F"};
  EXPECT_EQ(BulletinTitles(fields), (Titles{u"  A", std::nullopt, std::nullopt, u"D & E"}));
}

TEST(CleanBulletinTitle, OneLineNoControlsNoDirectionChangesAndCutWithAMark) {
  const std::u16string long_title(10000, u'长');
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"  新频道上线", u"  新频道上线"},
      {u"第一行\r\n第二行\n\n第三行", u"第一行第二行第三行"},
      {u"\u202E反过来\u202C的\u2066字\u2069\u200F", u"反过来的字"},
      {u"tab\there\x7f\x85\u2028", u"tabhere"},
      {std::u16string(24, u'字'), std::u16string(24, u'字')},
      {std::u16string(25, u'字'), std::u16string(23, u'字') + u"…"},
      {long_title, std::u16string(23, u'长') + u"…"},
      // A character outside the BMP is one character, never cut in half.
      {std::u16string(22, u'a') + u"\U0001F4FA\U0001F4FAb",
       std::u16string(22, u'a') + u"\U0001F4FA…"},
  };
  for (const auto& [title, clean] : cases) {
    EXPECT_EQ(CleanBulletinTitle(title, kMaxBulletinTitle), clean) << testing::PrintToString(title);
  }
  EXPECT_EQ(CleanBulletinTitle(u"abc", 0), u"…");
  EXPECT_EQ(BulletinCaption(3, u"\u202E1.", 4), u"3.1.");
}

}  // namespace
}  // namespace talvo
