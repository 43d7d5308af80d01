// The window tests' one way into Form1: its parts and units, which the window keeps to itself.
#pragma once

#include <string>

#include "mainwindow/bulletin_menu_ui.h"
#include "mainwindow/cast_menu_ui.h"
#include "mainwindow/form1.h"
#include "mainwindow/fullscreen_ui.h"
#include "mainwindow/layout_ui.h"
#include "mainwindow/service_lists_ui.h"
#include "mainwindow/sleep_timer_ui.h"
#include "mainwindow/viewer_memory_ui.h"
#include "mainwindow/window_options_ui.h"
#include "platform/save_notice_ui.h"
#include "signin/login_ui.h"

namespace talvo::testing {

class Form1Probe {
 public:
  explicit Form1Probe(Form1& form) : form_(form) {}

  const Form1Parts& Parts() const { return form_.parts_; }
  BrowserView& WebBrowser1() const { return *form_.web_browser1_; }
  BrowserView& WebBrowser2() const { return *form_.web_browser2_; }
  ClickableMenuBar& Menus() const { return form_.menus_; }
  Skin& WindowSkin() const { return form_.skin_; }
  wxTimer& Timer1() const { return form_.timer1_; }
  SaveNotice& Notice() const { return *form_.save_notice_; }

  PageList& Channels() const { return form_.programmes_->Channels(); }
  PageList& Stations() const { return form_.stations_->Stations(); }
  ViewLayout& Views() const { return *form_.layout_; }
  std::int16_t ViewMode() const { return form_.layout_->ViewMode(); }
  BulletinMenu& Bulletins() const { return *form_.bulletins_; }
  WindowOptions& Options() const { return *form_.options_unit_; }
  ViewerMemory& Viewer() const { return *form_.viewer_; }
  SleepTimerMenu& Sleep() const { return *form_.sleep_timer_; }
  CastMenu& Cast() const { return *form_.cast_; }
  LoginWindow& Login() const { return *form_.login_; }
  const std::u16string& SavedUser() const { return form_.signin_->SavedUser(); }
  const std::u16string& SavedPassword() const { return form_.signin_->SavedPassword(); }

 private:
  Form1& form_;
};

inline Form1Probe Probe(Form1& form) { return Form1Probe(form); }

}  // namespace talvo::testing
