// 小窗: the playback view alone in a small window kept above the others, for watching beside
// other work. The main window itself becomes that window, so the page on show plays on untouched;
// leaving gives back the window as it was: its parts, view mode, size, place, maximised state,
// its keeping above or not, and the focus. Reached from the menu bar's 小窗, the tray and F9;
// F9, Esc or a double click on the picture come back.
#pragma once

#include <wx/event.h>
#include <wx/weakref.h>
#include <wx/window.h>

#include <functional>
#include <optional>

#include "mainwindow/form1_parts.h"
#include "mainwindow/picture_alone_ui.h"
#include "mainwindow/window_place.h"
#include "platform/bound_handler.h"
#include "platform/top_level_keys.h"

class wxWindow;

namespace talvo {

class ViewLayout;

class SmallWindow {
 public:
  // `kept_above` says whether the viewer keeps the main window above the others (窗口置顶).
  SmallWindow(const Form1Parts& parts, ViewLayout& layout, std::function<bool()> kept_above);
  ~SmallWindow();
  SmallWindow(const SmallWindow&) = delete;
  SmallWindow& operator=(const SmallWindow&) = delete;

  bool Active() const { return active_; }
  void Toggle();
  // Where the small window was left, and where it opens next (from the last run at start).
  std::optional<PlaceRect> Place() const { return place_; }
  void SetPlace(const std::optional<PlaceRect>& place) { place_ = place; }
  // The keys that zap in the small window, as in fullscreen.
  void SetZapKeys(std::function<void(TopLevelKey)> zap) { zap_ = std::move(zap); }
  // Where a character typed in the small window goes: the find of the list on show, opened over
  // the bottom of the picture (`area`, the window's client coordinates).
  void SetFind(std::function<void(const wxRect& area, wxChar typed)> find) {
    find_ = std::move(find);
  }
  // Runs after each switch: the tray's menu follows.
  void SetOnChange(std::function<void()> on_change) { on_change_ = std::move(on_change); }

 private:
  void Enter();
  void Leave();
  bool OnKey(TopLevelKey key, bool modified);
  bool OnTyped(char32_t typed);
  bool TypingInTheWindow() const;
  void NotePlace();

  const Form1Parts& parts_;
  ViewLayout& layout_;
  std::function<bool()> kept_above_;
  std::function<void(TopLevelKey)> zap_;
  std::function<void(const wxRect&, wxChar)> find_;
  std::function<void()> on_change_;
  bool active_ = false;
  std::optional<PlaceRect> place_;
  // The window as it was: its parts, its rectangle, whether it was maximised, and the focus.
  PictureAlone alone_;
  wxRect frame_rect_;
  bool maximised_ = false;
  wxWeakRef<wxWindow> focus_;
  TopLevelKeys keys_;
  BoundHandler<wxSizeEvent> on_size_;
  BoundHandler<wxMoveEvent> on_move_;
};

}  // namespace talvo
