#include "mainwindow/tray_menu.h"

#include "mainwindow/sleep_timer.h"

namespace talvo {
namespace {

TrayEntry Entry(TrayEntry::Kind kind, int id, std::u16string label, bool checked = false,
                bool enabled = true) {
  TrayEntry entry;
  entry.kind = kind;
  entry.id = id;
  entry.label = std::move(label);
  entry.checked = checked;
  entry.enabled = enabled;
  return entry;
}

TrayEntry Action(int id, std::u16string label, bool enabled = true) {
  return Entry(TrayEntry::kAction, id, std::move(label), false, enabled);
}

TrayEntry Separator() { return Entry(TrayEntry::kSeparator, 0, u""); }

}  // namespace

std::vector<TrayEntry> TrayMenuEntries(const TrayState& state) {
  std::vector<TrayEntry> entries;
  entries.push_back(state.window_shown ? Action(kTrayHideWindow, u"隐藏主窗口")
                                       : Action(kTrayShowWindow, u"显示主窗口"));
  entries.push_back(Entry(TrayEntry::kCheck, kTraySmallWindow, u"小窗播放", state.small_window));
  entries.push_back(Separator());
  for (std::size_t i = 0; i < state.favourites.size(); ++i) {
    entries.push_back(Action(kTrayFavourite + static_cast<int>(i), state.favourites[i]));
  }
  if (state.favourites.empty()) entries.push_back(Action(0, u"（没有收藏）", false));
  entries.push_back(Separator());
  entries.push_back(Entry(TrayEntry::kCheck, kTrayMute, u"静音", state.muted));
  TrayEntry sleep = Entry(TrayEntry::kSubmenu, 0, SleepTimerCaption(state.sleep_minutes_left));
  for (const int minutes : kSleepChoices) {
    sleep.children.push_back(Action(kTraySleep + minutes, SleepChoiceLabel(minutes)));
  }
  sleep.children.push_back(Separator());
  sleep.children.push_back(
      Action(kTraySleepCancel, u"取消定时", state.sleep_minutes_left.has_value()));
  entries.push_back(std::move(sleep));
  entries.push_back(Separator());
  entries.push_back(Action(kTrayQuit, u"退出"));
  return entries;
}

std::u16string TrayTooltip(const TrayState& state) {
  std::u16string text = u"塔沃高清影音";
  if (!state.playing.empty()) text += u" — " + state.playing;
  if (state.sleep_minutes_left) text += u"\n" + SleepTimerCaption(state.sleep_minutes_left);
  return text;
}

}  // namespace talvo
