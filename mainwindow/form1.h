// Form1, the main window and the application: its design, the start-up sequence Form_Load and
// the shutdown. The lists, menus, skin and browser views are units of their own; Form1 owns
// them and runs the start-up steps in order.
#pragma once

#include <wx/frame.h>
#include <wx/timer.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "mainwindow/form1_parts.h"
#include "platform/browser_view.h"
#include "platform/clickable_menu_bar.h"
#include "platform/config.h"
#include "platform/skin.h"

class wxButton;
class wxListBox;
class wxTextCtrl;

namespace talvo {

class ChannelList;
class LoginWindow;
class PanelBar;
class StartupSignIn;

struct Form1Options {
  Config config;
  std::filesystem::path app_folder;
  // Null: the platform's engine.
  BrowserViewFactory browser_factory;
  std::chrono::milliseconds station_timer{5000};
};

class Form1 : public wxFrame {
 public:
  explicit Form1(Form1Options options);
  ~Form1() override;

  // The start-up sequence; the caller shows the window once it returns.
  void Form_Load();

  BrowserView& WebBrowser1() { return *web_browser1_; }
  BrowserView& WebBrowser2() { return *web_browser2_; }
  ChannelList& Channels() { return *channels_; }
  ClickableMenuBar& Menus() { return menus_; }
  Skin& WindowSkin() { return skin_; }
  wxTimer& Timer1() { return timer1_; }
  std::int16_t ViewMode() const { return view_mode_; }
  const std::u16string& SkinFolder() const { return skin_folder_; }
  const std::u16string& SavedUser() const;
  const std::u16string& SavedPassword() const;
  LoginWindow& Login() { return *login_; }
  const Form1Parts& Parts() const { return parts_; }
  bool Loading() const { return loading_; }

  // Menu bar entries, in order.
  enum MenuEntry { kJiemu, kJiemian, kDenglu, kChuangkou, kN1 };

 private:
  void CreateControls();
  void CreateMenus();

  // Start-up step that later work fills in; it is called at its place in the sequence.
  void LoadStationList();

  void PrepareBrowserViews();
  void LoadProgrammeList();
  void OpenDownloadPage();
  std::u16string UserQuery() const;

  void Timer1_Timer(wxTimerEvent& event);
  void OnClose(wxCloseEvent& event);
  void Form_Unload();
  void denglu_Click();

  Form1Options options_;
  Skin skin_;
  ClickableMenuBar menus_;
  wxTimer timer1_;

  PanelBar* image1_ = nullptr;
  wxButton* command2_ = nullptr;
  wxButton* command3_ = nullptr;
  wxListBox* list1_ = nullptr;
  std::unique_ptr<BrowserView> web_browser1_;
  std::unique_ptr<BrowserView> web_browser2_;
  std::unique_ptr<ChannelList> channels_;
  wxTextCtrl* text2_ = nullptr;
  wxTextCtrl* text1_ = nullptr;
  Form1Parts parts_;
  std::unique_ptr<LoginWindow> login_;
  std::unique_ptr<StartupSignIn> signin_;

  std::u16string skin_folder_;
  std::int16_t view_mode_ = 0;
  std::u16string programme_reply_;
  bool loading_ = false;
};

}  // namespace talvo
