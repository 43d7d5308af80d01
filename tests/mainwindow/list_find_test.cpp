#include "mainwindow/list_find.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

TEST(ListFindTest, RowsMatchByNameInitialsFullPinyinAndNumber) {
  const std::vector<std::u16string> names = {
      u"北京卫视高清",   u"广东卫视高清", u"重庆卫视", u"CCTV-5 体育", u"Hunan TV 湖南",
      u"黑龙江卫视高清", u"中国之声",     u"",         u"绿色频道",    u"𠀀 Ext B"};
  std::vector<FindableName> rows;
  for (const std::u16string& name : names) rows.push_back(MakeFindable(name));

  const struct {
    std::u16string typed;
    std::vector<std::size_t> rows;
  } cases[] = {
      {u"gdws", {1}},           // pinyin initials
      {u"GDWS", {1}},           // case does not count
      {u"guangdong", {1}},      // full pinyin
      {u"guang dong", {1}},     // nor do spaces
      {u"cqws", {2}},           // the character read by the next: 重庆 is chóngqìng
      {u"ws", {0, 1, 2, 5}},    // part of the initials
      {u"卫视", {0, 1, 2, 5}},  // part of the name
      {u"高清", {0, 1, 5}},
      {u"cctv5", {3}},    // Latin kept as typed, punctuation and spaces left out
      {u"cctv-5", {3}},   // the name itself, with its hyphen
      {u"cctv5ty", {3}},  // mixed: Latin, then the Han characters' initials
      {u"tiyu", {3}},
      {u"hunan", {4}},  // Latin in a name and pinyin of its Han part
      {u"hntv", {}},    // initials are of Han characters only: "Hunan" stays a word
      {u"zgzs", {6}},
      {u"lvse", {}},  // ü is written u
      {u"lsp", {8}},
      {u"2", {1}},     // a number: that row first
      {u"5", {4, 3}},  // the row numbered 5 before a name with a 5
      {u"10", {9}},
      {u"0", {}},                        // no row 0
      {u"99999999999999999999999", {}},  // too long to be any row's number
      {u"xyz", {}},
      {u"extb", {9}},  // a character beyond the Han blocks is left out of the pinyin
      {u"", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {u"  ", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchingRows(rows, c.typed), c.rows) << std::string(c.typed.begin(), c.typed.end());
  }
}

}  // namespace
}  // namespace talvo
