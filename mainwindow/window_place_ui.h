// The main window where it was left: opened at the place kept from the last run (on a screen,
// whole), its place noted as the viewer moves, resizes and maximises it, and kept at close. The
// place noted is the window's own, never fullscreen's or the small window's.
#pragma once

#include <wx/timer.h>

#include <functional>
#include <optional>
#include <vector>

#include "mainwindow/window_place.h"
#include "platform/bound_handler.h"

class wxRect;
class wxTopLevelWindow;

namespace talvo {

PlaceRect FromWxRect(const wxRect& rect);
// The work area of each screen the desktop has now.
std::vector<PlaceRect> ScreenAreas();

class WindowPlaceKeeper {
 public:
  // `elsewhere` says when the window is in a mode whose place is not its own (the small window).
  WindowPlaceKeeper(wxTopLevelWindow* frame, std::function<bool()> elsewhere);
  WindowPlaceKeeper(const WindowPlaceKeeper&) = delete;
  WindowPlaceKeeper& operator=(const WindowPlaceKeeper&) = delete;

  // Before the window first shows.
  void Restore(const std::optional<WindowPlace>& kept);
  // What to keep now; nothing before the window has had a place of its own.
  std::optional<WindowPlace> Place();

 private:
  void Note();

  wxTopLevelWindow* frame_;
  std::function<bool()> elsewhere_;
  std::optional<WindowPlace> place_;
  // A move or resize is noted once the window manager has settled it: while a window is being
  // maximised its new size can come before its new state.
  wxTimer settle_;
  BoundHandler<wxSizeEvent> on_size_;
  BoundHandler<wxMoveEvent> on_move_;
  BoundHandler<wxTimerEvent> on_settled_;
  BoundHandler<wxShowEvent> on_shown_;
  // Asked again once the window is on screen.
  std::optional<wxPoint> shown_at_;
};

}  // namespace talvo
