// Fullscreen: the playback view over the whole screen, asked for by the page's own player
// (its fullscreen button) or by F11 for any page; Esc, F11 again or the page's exit return to
// exactly the window, view mode and layout that were there before.
#pragma once

#include <functional>

#include "mainwindow/form1_parts.h"
#include "mainwindow/picture_alone_ui.h"
#include "platform/bound_handler.h"
#include "platform/top_level_keys.h"

namespace talvo {

class ViewLayout;

class Fullscreen {
 public:
  Fullscreen(const Form1Parts& parts, ViewLayout& layout);
  ~Fullscreen();
  Fullscreen(const Fullscreen&) = delete;
  Fullscreen& operator=(const Fullscreen&) = delete;

  // Where the keys that zap in fullscreen go.
  void SetZapKeys(std::function<void(TopLevelKey)> zap) { zap_ = std::move(zap); }
  void Enter();
  void Leave();

 private:
  bool OnKey(TopLevelKey key, bool modified);

  const Form1Parts& parts_;
  ViewLayout& layout_;
  PictureAlone alone_;
  TopLevelKeys keys_;
  bool active_ = false;
  bool layout_was_suspended_ = false;
  bool bar_was_shown_ = true;
  std::function<void(TopLevelKey)> zap_;
  BoundHandler<wxSizeEvent> on_size_;
};

}  // namespace talvo
