#include "mainwindow/bulletins.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

using Captions = std::array<std::optional<std::u16string>, kBulletinItems>;

TEST(ReadBulletinBlock, FindsTheFirstBlockBetweenOtherText) {
  const auto fields = ReadBulletinBlock(u"会员公告 $$$*新频道*http://x/1*春节*http://x/2*$$$ 更多");
  ASSERT_TRUE(fields);
  EXPECT_EQ(*fields, (std::vector<std::u16string>{u"新频道", u"http://x/1", u"春节", u"http://x/2"}));
  EXPECT_EQ(BulletinCaptions(*fields), (Captions{u"1.新频道", u"2.春节"}));
  EXPECT_EQ(BulletinLink(fields, 1), u"http://x/1");
  EXPECT_EQ(BulletinLink(fields, 2), u"http://x/2");
  EXPECT_EQ(BulletinLink(fields, 3), std::nullopt);
  EXPECT_EQ(BulletinLink(std::nullopt, 1), std::nullopt);
}

TEST(ReadBulletinBlock, NoBlockMeansNothing) {
  for (const std::u16string text : {u"", u"about:blank", u"只有结尾*$$$", u"*$$$ 反了 $$$*",
                                     u"$$$* 没有结尾", u"$$$*$$$"}) {
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
  EXPECT_EQ(BulletinCaptions(*fields),
            (Captions{u"1.t", u"2.t", u"3.t", u"4.t", u"5.t", u"6.t"}));
  EXPECT_EQ(BulletinLink(fields, 6), u"http://x/f");
}

TEST(BulletinCaptions, BlankPairsLeaveTheirItemAndTitlesKeepTheirSpaces) {
  const std::vector<std::u16string> fields = {u"  A", u"http://a", u"   ", u"http://b",
                                              u"C",   u"",         u"D & E", u"http://d", u"F"};
  EXPECT_EQ(BulletinCaptions(fields), (Captions{u"1.  A", std::nullopt, std::nullopt, u"4.D & E"}));
}

}  // namespace
}  // namespace talvo
