#include "mainwindow/cast_menu.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

// Each entry as "label" with "-" when greyed and "*" when checked.
std::vector<std::u16string> Shown(const CastMenuState& state) {
  std::vector<std::u16string> shown;
  for (const CastMenuEntry& entry : CastMenuEntries(state)) {
    shown.push_back(entry.label + (entry.enabled ? u"" : u"-") + (entry.checked ? u"*" : u""));
  }
  return shown;
}

TEST(CastMenuTest, TheMenuSaysWhatWasFoundWhatCanGoAndWhatPlays) {
  const std::vector<Renderer> two = {{"uuid:a", "卧室", "http://a/c", ""},
                                     {"uuid:b", "客厅电视", "http://b/c", "http://b/r"}};
  const struct {
    const char* what;
    CastMenuState state;
    std::vector<std::u16string> shown;
  } cases[] = {
      {"searching", {{}, true, true, {}}, {u"正在查找可投屏的设备…-", u"-", u"停止投屏-"}},
      {"none found", {{}, false, true, {}}, {u"未找到可投屏的设备-", u"-", u"停止投屏-"}},
      {"two found", {two, false, true, {}}, {u"卧室", u"客厅电视", u"-", u"停止投屏-"}},
      {"one plays", {two, false, true, "uuid:b"}, {u"卧室", u"客厅电视-*", u"-", u"停止投屏"}},
      {"nothing to send",
       {two, false, false, {}},
       {u"此频道不支持投屏-", u"卧室-", u"客厅电视-", u"-", u"停止投屏-"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Shown(c.state), c.shown) << c.what;
}

TEST(CastMenuTest, TheTvThatPlaysStaysListedWhenItDidNotAnswerASearch) {
  const Renderer playing{"uuid:p", "B", "http://p/c", ""};
  const std::vector<Renderer> found =
      CastRenderersFound({{"uuid:c", "C", "", ""}, {"uuid:a", "A", "", ""}}, playing);
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].name + found[1].name + found[2].name, "ABC");
  EXPECT_EQ(CastRenderersFound({playing}, playing).size(), 1u);
}

}  // namespace
}  // namespace talvo
