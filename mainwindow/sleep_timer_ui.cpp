#include "mainwindow/sleep_timer_ui.h"

#include <wx/frame.h>
#include <wx/menu.h>

#include <string>

#include "core/debug_trace.h"
#include "core/utf.h"
#include "mainwindow/viewer_memory_ui.h"
#include "platform/accessible_ui.h"
#include "platform/clickable_menu_bar.h"
#include "platform/web/browser_view.h"
#include "platform/wx_text.h"

namespace talvo {
namespace {

// Often enough for a fade in small steps; the caption changes only once a minute.
constexpr int kTickMs = 250;
constexpr int kCancelId = 1;  // the lengths' ids are their minutes

}  // namespace

SleepTimerMenu::SleepTimerMenu(const Form1Parts& parts, ViewerMemory& viewer,
                               std::optional<std::chrono::milliseconds> length)
    : parts_(parts),
      viewer_(viewer),
      length_(length),
      on_tick_(&tick_, wxEVT_TIMER, [this](wxTimerEvent&) { Tick(); }) {
  parts_.menus->SetOnClick(kDingshi, [this] { dingshi_Click(); });
  parts_.menus->SetCaption(kDingshi, SleepTimerCaption(std::nullopt));
}

// The menu bar outlives the unit.
SleepTimerMenu::~SleepTimerMenu() { parts_.menus->SetOnClick(kDingshi, nullptr); }

void SleepTimerMenu::dingshi_Click() {
  wxMenu menu;
  for (const int minutes : kSleepChoices) menu.Append(minutes, ToWx(SleepChoiceLabel(minutes)));
  menu.AppendSeparator();
  menu.Append(kCancelId, ToWx(u"取消定时"))->Enable(timer_.Running());
  const int chosen = parts_.frame->GetPopupMenuSelectionFromUser(menu);
  if (chosen == kCancelId) Cancel();
  for (const int minutes : kSleepChoices) {
    if (chosen == minutes) Set(minutes);
  }
}

void SleepTimerMenu::Set(int minutes) {
  const std::chrono::milliseconds length = length_.value_or(std::chrono::minutes(minutes));
  // A timer set again during its fade starts with the viewer's sound.
  viewer_.ApplySound(viewer_.Choices().muted, viewer_.Choices().volume);
  timer_.Set(length, SleepClock::now());
  tick_.Start(kTickMs);
  DebugTrace("sleep", "set for " + std::to_string(minutes) + " minutes");
  AnnounceToReaders(parts_.frame, u"定时关闭：" + SleepChoiceLabel(minutes) + u"后停止播放");
  ShowLeft();
}

void SleepTimerMenu::Cancel() {
  if (!timer_.Running()) return;
  timer_.Cancel();
  tick_.Stop();
  viewer_.ApplySound(viewer_.Choices().muted, viewer_.Choices().volume);
  DebugTrace("sleep", "cancelled");
  AnnounceToReaders(parts_.frame, u"已取消定时关闭");
  ShowLeft();
}

void SleepTimerMenu::Tick() {
  const ViewerChoices& choices = viewer_.Choices();
  const SleepStep step = timer_.Step(SleepClock::now(), choices.volume);
  // Where a TV plays the channel, its volume fades.
  if (step.volume) viewer_.ApplySound(choices.muted, *step.volume);
  if (step.stop) {
    tick_.Stop();
    // The page goes and the viewer's sound comes back for whatever plays next.
    parts_.web_browser1->Navigate(u"about:blank");
    viewer_.PlaybackStopped();
    viewer_.ApplySound(choices.muted, choices.volume);
    DebugTrace("sleep", "the time is up: playback stopped");
    AnnounceToReaders(parts_.frame, u"定时关闭：已停止播放");
  }
  ShowLeft();
}

void SleepTimerMenu::ShowLeft() {
  const std::optional<int> left = MinutesLeft();
  if (left == shown_left_) return;
  shown_left_ = left;
  parts_.menus->SetCaption(kDingshi, SleepTimerCaption(left));
  if (on_change_) on_change_();
}

}  // namespace talvo
