// The tray at work: the icon whenever the client runs, its menu acting on the window, the viewer's
// sound and favourites and the sleep timer, its tooltip following what plays. With
// 关闭窗口时最小化到托盘 on, closing the window hides it into the tray and playback goes on;
// where the desktop shows no tray it minimises instead, and the option's entry says so.
#pragma once

#include <wx/timer.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "mainwindow/form1_parts.h"
#include "mainwindow/tray_menu.h"
#include "platform/bound_handler.h"

namespace talvo {

class Tray;

// What the tray's entries do, given by the window that owns the units they reach.
struct TrayActions {
  std::function<TrayState()> state;  // window_shown is the tray's own to fill
  std::function<void(std::size_t)> play_favourite;
  std::function<void()> toggle_mute;
  std::function<void()> toggle_small_window;
  std::function<void(int)> set_sleep;
  std::function<void()> cancel_sleep;
  std::function<bool()> close_to_tray;
};

class TrayMenu {
 public:
  TrayMenu(const Form1Parts& parts, TrayActions actions);
  ~TrayMenu();
  TrayMenu(const TrayMenu&) = delete;
  TrayMenu& operator=(const TrayMenu&) = delete;

  // Whatever the menu or the tooltip show may have changed.
  void Refresh();
  // Whether the desktop shows the icon.
  bool Shown() const;
  // The option's entry in the window, saying where closing then goes.
  std::u16string OptionLabel() const;
  // The window is asked to close: true when it stays, hidden into the tray or, where the desktop
  // shows none, minimised.
  bool KeepOnClose();
  void ShowWindow();
  void HideWindow();
  // The window was never shown: it stays in the tray, or, where the desktop shows none within a
  // few seconds, it shows minimised.
  void StartHidden();
  // 退出: the window closes whatever the option says, and the program ends.
  void Quit();

 private:
  void Chose(int id);
  void TrayChanged();

  const Form1Parts& parts_;
  TrayActions actions_;
  std::unique_ptr<Tray> tray_;
  bool quitting_ = false;
  wxTimer no_tray_;
  BoundHandler<wxTimerEvent> on_no_tray_;
};

}  // namespace talvo
