#include "mainwindow/tray_menu.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

// The menu follows the window, the favourites, the sound and the timer, each entry with an id of
// its own and greyed where it cannot act; the tooltip says what plays and the time left.
TEST(TrayMenu, EntriesAndTooltipFollowWhatTheClientDoes) {
  TrayState state;
  state.favourites = {u"北京卫视高清", u"环球音乐广播"};
  state.muted = true;
  state.sleep_minutes_left = 23;
  state.small_window = true;
  const std::vector<TrayEntry> entries = TrayMenuEntries(state);
  EXPECT_TRUE(entries[1].checked) << "小窗播放";
  EXPECT_EQ(entries[4].id, kTrayFavourite + 1);
  EXPECT_TRUE(entries[6].checked) << "静音";
  EXPECT_EQ(entries[7].children.front().id, kTraySleep + 15);
  EXPECT_TRUE(entries[7].children.back().enabled) << "取消定时";
  EXPECT_EQ(TrayTooltip(state), u"塔沃高清影音\n定时关闭（还剩 23 分钟）");

  TrayState hidden;
  hidden.window_shown = false;
  hidden.playing = u"北京卫视高清";
  const std::vector<TrayEntry> plain = TrayMenuEntries(hidden);
  EXPECT_FALSE(plain[3].enabled) << "（没有收藏）";
  EXPECT_FALSE(plain[6].children.back().enabled) << "取消定时 with no timer";
  EXPECT_EQ(TrayTooltip(hidden), u"塔沃高清影音 — 北京卫视高清");
}

}  // namespace
}  // namespace talvo
