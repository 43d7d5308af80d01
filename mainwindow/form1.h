// Form1, the main window and the application: its design, the start-up sequence Form_Load and
// the shutdown. Each feature is a unit of its own (lists, layout, bulletins, options, sign-in);
// Form1 creates the shared parts, hands them to the units and runs the start-up steps in order.
#pragma once

#include <wx/frame.h>
#include <wx/timer.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "mainwindow/form1_parts.h"
#include "platform/clickable_menu_bar.h"
#include "platform/config.h"
#include "platform/skin_ui.h"
#include "platform/web/browser_view.h"

class wxButton;
class wxListBox;

namespace talvo {

class BulletinMenu;
class Fullscreen;
class ViewLayout;
class ListFind;
class LoginWindow;
class PanelBar;
class SaveNotice;
class SleepTimerMenu;
class SmallWindow;
class CastMenu;
class TrayMenu;
class ProgrammeList;
class StartupCatchUp;
class StartupSignIn;
class StationList;
class ViewerMemory;
class WindowOptions;
class WindowPlaceKeeper;

namespace testing {
class Form1Probe;
}

struct Form1Options {
  Config config;
  std::filesystem::path app_folder;
  // Null: the platform's engine.
  BrowserViewFactory browser_factory;
  std::chrono::milliseconds station_timer{5000};
  // When set, every length of the sleep timer: the window tests' short timer.
  std::optional<std::chrono::milliseconds> sleep_length;
  // Started with the desktop: the window stays in the tray, or shows minimised without one.
  bool start_in_tray = false;
};

class Form1 : public wxFrame {
 public:
  explicit Form1(Form1Options options);
  ~Form1() override;

  // The start-up sequence; the caller shows the window once it returns.
  void Form_Load();
  // Another start of the program on this folder asked for the window: shown from the tray or
  // the task bar, raised and focused.
  void BringForward(const std::string& startup_id);

 private:
  // The window tests' one way in.
  friend class testing::Form1Probe;

  void CreateControls();
  void CreateMenus();

  void PrepareBrowserViews();
  void StartTray();
  std::u16string Account() const;
  std::u16string PlayingName() const;
  void OpenDownloadPage();

  void OnClose(wxCloseEvent& event);
  void Form_Unload();

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
  wxListBox* list2_ = nullptr;
  std::unique_ptr<SaveNotice> save_notice_;
  Form1Parts parts_;

  std::unique_ptr<LoginWindow> login_;
  std::unique_ptr<StartupSignIn> signin_;
  std::unique_ptr<ProgrammeList> programmes_;
  std::unique_ptr<StationList> stations_;
  std::unique_ptr<ViewLayout> layout_;
  std::unique_ptr<BulletinMenu> bulletins_;
  std::unique_ptr<WindowOptions> options_unit_;
  std::unique_ptr<Fullscreen> fullscreen_;
  std::unique_ptr<StartupCatchUp> catch_up_;
  std::unique_ptr<ListFind> find_channels_;
  std::unique_ptr<ListFind> find_stations_;
  std::unique_ptr<ViewerMemory> viewer_;
  std::unique_ptr<SleepTimerMenu> sleep_timer_;
  std::unique_ptr<SmallWindow> small_;
  std::unique_ptr<WindowPlaceKeeper> place_;
  std::unique_ptr<CastMenu> cast_;
  // Made once the window shows, and gone before the units its entries reach.
  std::unique_ptr<TrayMenu> tray_;
};

}  // namespace talvo
