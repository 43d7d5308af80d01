// The sleep timer at work: its entry on the menu bar offers the lengths and 取消定时 and shows
// the time left; over the fade the playback view's volume falls, then the view leaves the page
// and takes the viewer's own sound again for the next play. A screen reader hears it set, cancelled
// and ended.
#pragma once

#include <wx/timer.h>

#include <chrono>
#include <functional>
#include <optional>

#include "mainwindow/form1_parts.h"
#include "mainwindow/sleep_timer.h"
#include "platform/bound_handler.h"

namespace talvo {

class ViewerMemory;

class SleepTimerMenu {
 public:
  // `length`, when given, stands for every choice's length: the window tests' short timer.
  SleepTimerMenu(const Form1Parts& parts, ViewerMemory& viewer,
                 std::optional<std::chrono::milliseconds> length = std::nullopt);
  ~SleepTimerMenu();
  SleepTimerMenu(const SleepTimerMenu&) = delete;
  SleepTimerMenu& operator=(const SleepTimerMenu&) = delete;

  void Set(int minutes);
  void Cancel();
  std::optional<int> MinutesLeft() const { return timer_.MinutesLeft(SleepClock::now()); }
  // Runs whenever the time left shown changes, and when the timer ends or is cancelled.
  void SetOnChange(std::function<void()> on_change) { on_change_ = std::move(on_change); }

  void dingshi_Click();

 private:
  void Tick();
  void ShowLeft();

  const Form1Parts& parts_;
  ViewerMemory& viewer_;
  std::optional<std::chrono::milliseconds> length_;
  SleepTimer timer_;
  std::optional<int> shown_left_;
  std::function<void()> on_change_;
  wxTimer tick_;
  BoundHandler<wxTimerEvent> on_tick_;
};

}  // namespace talvo
