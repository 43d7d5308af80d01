// The two lists of pages the service fills: the channel list List2, the six built-in channels
// and then the account's programme list, taken during start-up; and the station list List1,
// taken once, at the tick of Timer1 five seconds after the window was created. Each is asked of
// the TV host first, then of the primary host; choosing an entry opens its page.
#pragma once

#include <wx/timer.h>

#include <functional>
#include <string>

#include "mainwindow/form1_parts.h"
#include "mainwindow/page_list_ui.h"
#include "platform/bound_handler.h"

namespace talvo {

class StartupSignIn;

class ProgrammeList {
 public:
  // The saved account name is read from `signin`, which also verifies on the TV host as soon as
  // that host's list is taken.
  ProgrammeList(const Form1Parts& parts, StartupSignIn& signin);

  PageList& Channels() { return channels_; }

  void AppendBuiltIns();
  // False when no list was taken because a host could not be reached: the start loads it again
  // once the service answers. A list the service did answer, even with nothing usable, is done.
  bool Load();

 private:
  const Form1Parts& parts_;
  StartupSignIn& signin_;
  PageList channels_;
  std::u16string reply_;
};

class StationList {
 public:
  // The start's saved account name is read from `signin` at the tick.
  StationList(const Form1Parts& parts, const StartupSignIn& signin);

  PageList& Stations() { return stations_; }

  // The load; the timer is off once it has begun, so a tick that falls due while it waits on
  // the network starts no second load. A load that could not reach the service is handed to
  // `on_missed`.
  void Timer1_Timer();
  // False as ProgrammeList::Load.
  bool Load();
  void SetOnMissed(std::function<void()> on_missed) { on_missed_ = std::move(on_missed); }

 private:
  const Form1Parts& parts_;
  const StartupSignIn& signin_;
  PageList stations_;
  // Its own reply buffer: the programme list's load may be waiting on the network meanwhile.
  std::u16string reply_;
  std::function<void()> on_missed_;
  BoundHandler<wxTimerEvent> on_tick_;
};

}  // namespace talvo
