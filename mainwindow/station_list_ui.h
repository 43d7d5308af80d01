// The station list List1: loaded once, at the tick of Timer1 five seconds after the window was
// created, from the TV host or else the primary host; choosing a station opens its page.
#pragma once

#include <wx/timer.h>

#include <string>

#include "mainwindow/form1_parts.h"
#include "mainwindow/page_list_ui.h"
#include "platform/bound_handler.h"

namespace talvo {

class StartupSignIn;

class StationList {
 public:
  // The start's saved account name is read from `signin` at the tick.
  StationList(const Form1Parts& parts, const StartupSignIn& signin);

  PageList& Stations() { return stations_; }

  // The load; the timer is off once it has begun, so a tick that falls due while it waits on
  // the network starts no second load.
  void Timer1_Timer();

 private:
  const Form1Parts& parts_;
  const StartupSignIn& signin_;
  PageList stations_;
  // Its own reply buffer: the programme list's load may be waiting on the network meanwhile.
  std::u16string reply_;
  BoundHandler<wxTimerEvent> on_tick_;
};

}  // namespace talvo
