// The tray's menu and tooltip, from what the client does now: 显示主窗口 or 隐藏主窗口, 小窗播放,
// the favourites to play one, 静音, 定时关闭 with its lengths and 取消定时, and 退出; the tooltip
// says what plays and the sleep timer's time left.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/tray_entry.h"

namespace talvo {

// The ids the entries report. A length of the sleep timer reports kTraySleep plus its minutes,
// a favourite kTrayFavourite plus its place.
enum TrayChoice : int {
  kTrayShowWindow = 1,
  kTrayHideWindow,
  kTrayMute,
  kTraySleepCancel,
  kTrayQuit,
  kTraySmallWindow,
  kTraySleep = 100,
  kTrayFavourite = 1000,
};

struct TrayState {
  bool window_shown = true;
  bool small_window = false;               // 小窗 on
  std::vector<std::u16string> favourites;  // their names, in the order the viewer keeps them
  bool muted = false;
  std::optional<int> sleep_minutes_left;
  std::u16string playing;  // the name of the channel or station on show; empty for none
};

std::vector<TrayEntry> TrayMenuEntries(const TrayState& state);
std::u16string TrayTooltip(const TrayState& state);

}  // namespace talvo
