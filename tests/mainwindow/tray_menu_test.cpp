#include "mainwindow/tray_menu.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

std::vector<std::u16string> Labels(const std::vector<TrayEntry>& entries) {
  std::vector<std::u16string> labels;
  for (const TrayEntry& entry : entries) {
    if (entry.kind != TrayEntry::kSeparator) labels.push_back(entry.label);
  }
  return labels;
}

// The menu follows the window, the favourites, the sound and the timer; its ids are each entry's
// own, and what cannot act now is greyed.
TEST(TrayMenu, EntriesFollowWhatTheClientDoes) {
  TrayState state;
  state.favourites = {u"北京卫视高清", u"环球音乐广播"};
  state.muted = true;
  state.sleep_minutes_left = 23;
  const std::vector<TrayEntry> entries = TrayMenuEntries(state);
  EXPECT_EQ(Labels(entries),
            (std::vector<std::u16string>{u"隐藏主窗口", u"北京卫视高清", u"环球音乐广播", u"静音",
                                         u"定时关闭（还剩 23 分钟）", u"退出"}));
  EXPECT_EQ(entries[3].id, kTrayFavourite + 1);
  EXPECT_TRUE(entries[5].checked);
  const TrayEntry& sleep = entries[6];
  EXPECT_EQ(sleep.children.front().id, kTraySleep + 15);
  EXPECT_TRUE(sleep.children.back().enabled);
  EXPECT_EQ(TrayTooltip(state), u"塔沃高清影音\n定时关闭（还剩 23 分钟）");

  TrayState hidden;
  hidden.window_shown = false;
  hidden.playing = u"北京卫视高清";
  const std::vector<TrayEntry> plain = TrayMenuEntries(hidden);
  EXPECT_EQ(plain.front().id, kTrayShowWindow);
  EXPECT_FALSE(plain[2].enabled) << "（没有收藏）";
  EXPECT_FALSE(plain[5].children.back().enabled) << "取消定时 with no timer";
  EXPECT_EQ(TrayTooltip(hidden), u"塔沃高清影音 — 北京卫视高清");
}

}  // namespace
}  // namespace talvo
