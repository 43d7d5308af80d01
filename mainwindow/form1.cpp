#include "mainwindow/form1.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/weakref.h>

#include <exception>
#include <string>

#include "core/debug_trace.h"
#include "core/fetcher.h"
#include "core/service_address.h"
#include "mainwindow/bulletin_menu_ui.h"
#include "mainwindow/cast_menu_ui.h"
#include "mainwindow/design.h"
#include "mainwindow/fullscreen_ui.h"
#include "mainwindow/layout_ui.h"
#include "mainwindow/list_find_ui.h"
#include "mainwindow/list_font.h"
#include "mainwindow/panel_bar.h"
#include "mainwindow/service_lists.h"
#include "mainwindow/service_lists_ui.h"
#include "mainwindow/sleep_timer_ui.h"
#include "mainwindow/small_window_ui.h"
#include "mainwindow/startup_catch_up_ui.h"
#include "mainwindow/tray_menu_ui.h"
#include "mainwindow/viewer_memory_ui.h"
#include "mainwindow/window_options_ui.h"
#include "mainwindow/window_place_ui.h"
#include "platform/accessible_ui.h"
#include "platform/app_icons.h"
#include "platform/autostart.h"
#include "platform/fetch_wait.h"
#include "platform/save_notice_ui.h"
#include "platform/topmost.h"
#include "platform/twips_ui.h"
#include "platform/web/no_engine_view.h"
#include "platform/web/webview_browser.h"
#include "platform/window_titles.h"
#include "platform/wx_text.h"
#include "signin/login_ui.h"

namespace talvo {
namespace {

// Start-up never stops at a failing step: it is skipped and the next one runs.
template <typename Step>
void Contained(const char* name, Step&& step) {
  try {
    step();
  } catch (const std::exception& error) {
    DebugTrace("start-up", std::string(name) + " skipped: " + error.what());
  } catch (...) {
    DebugTrace("start-up", std::string(name) + " skipped");
  }
}

std::unique_ptr<BrowserView> MakeBrowser(const BrowserViewFactory& factory, wxWindow* parent,
                                         const wxString& name, BrowserView* related = nullptr) {
  std::unique_ptr<BrowserView> view =
      factory ? factory(parent) : CreateWebViewBrowser(parent, related);
  // Without an engine the window still works, with views that stay blank.
  if (!view) view = CreateNoEngineView(parent);
  view->Window()->SetName(name);
  return view;
}

wxListBox* MakeList(wxWindow* parent, const char* name, const std::u16string& read_name,
                    const wxColour& background, const wxColour& text) {
  auto* list = new wxListBox(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                             wxLB_SINGLE | wxLB_NEEDED_SB);
  list->SetName(name);
  if (!HighContrastDesktop()) {
    list->SetBackgroundColour(background);
    list->SetForegroundColour(text);
  }
  list->SetFont(ListFont());
  NameForReaders(list, read_name);
  return list;
}

}  // namespace

Form1::Form1(Form1Options options)
    : options_(std::move(options)), skin_(this), menus_(this), timer1_(this) {
  // The translucent border needs a background that can let the desktop through, chosen before
  // the window exists.
  Skin::PrepareTranslucentBackground(this);
  Create(nullptr, wxID_ANY, ToWx(DesignTitle(options_.config)));
  SetName("Form1");
  SetIcons(AppIcons());
  CreateControls();
  CreateMenus();
  parts_.frame = this;
  parts_.config = &options_.config;
  parts_.app_folder = options_.app_folder;
  parts_.web_browser1 = web_browser1_.get();
  parts_.web_browser2 = web_browser2_.get();
  parts_.save_notice = save_notice_.get();
  parts_.menus = &menus_;
  parts_.skin = &skin_;
  parts_.list1 = list1_;
  parts_.list2 = list2_;
  parts_.command2 = command2_;
  parts_.command3 = command3_;
  parts_.image1 = image1_;
  parts_.timer1 = &timer1_;
  // Each unit is made from the parts and at most one other unit, which is made before it.
  login_ = std::make_unique<LoginWindow>(parts_);
  signin_ = std::make_unique<StartupSignIn>(parts_, *login_);
  programmes_ = std::make_unique<ProgrammeList>(parts_, *signin_);
  stations_ = std::make_unique<StationList>(parts_, *signin_);
  layout_ = std::make_unique<ViewLayout>(parts_);
  bulletins_ = std::make_unique<BulletinMenu>(parts_);
  options_unit_ = std::make_unique<WindowOptions>(parts_);
  fullscreen_ = std::make_unique<Fullscreen>(parts_, *layout_);
  catch_up_ = std::make_unique<StartupCatchUp>(*layout_);
  find_channels_ = std::make_unique<ListFind>(this, programmes_->Channels(), u"查找频道");
  find_stations_ = std::make_unique<ListFind>(this, stations_->Stations(), u"查找电台");
  viewer_ = std::make_unique<ViewerMemory>(parts_, programmes_->Channels(), stations_->Stations(),
                                           [this] { return Account(); });
  sleep_timer_ = std::make_unique<SleepTimerMenu>(parts_, *viewer_, options_.sleep_length);
  viewer_->AddOption({.label = [] { return std::u16string(u"开机启动"); },
                      .checked = [] { return AutostartOn(); },
                      .toggle =
                          [this] {
                            const bool on = !AutostartOn();
                            save_notice_->Saved(u"开机启动", SetAutostart(on)
                                                                 ? SaveTrouble::kNone
                                                                 : SaveTrouble::kOther);
                          }});
  stations_->SetOnMissed([this] {
    catch_up_->Missed(StartupCatchUp::kStationList, [this] { return stations_->Load(); });
  });
  menus_.SetOnClick(kDenglu, [this] { login_->Show(); });
  // The desktop's Next and Previous media controls: the neighbouring row of the list on show.
  const auto step = [this](int by) {
    (layout_->ViewMode() == kRadioView ? stations_->Stations() : programmes_->Channels()).Step(by);
  };
  web_browser1_->SetMediaStep(step);
  web_browser2_->SetMediaStep(step);
  const auto zap = [this, step](TopLevelKey key) {
    const ZapAction action = ZapActionOf(key);
    if (action.kind == ZapAction::kStep) step(action.by);
    if (action.kind == ZapAction::kBack) viewer_->Back();
    if (action.kind == ZapAction::kMute) viewer_->ToggleMute();
    if (action.kind == ZapAction::kVolume) viewer_->StepVolume(action.by);
  };
  fullscreen_->SetZapKeys(zap);
  small_ = std::make_unique<SmallWindow>(parts_, *layout_,
                                         [this] { return options_unit_->OnTop() != 0; });
  small_->SetZapKeys(zap);
  small_->SetPlace(viewer_->Choices().small_window);
  small_->SetFind([this](const wxRect& area, wxChar typed) {
    ListFind& find = layout_->ViewMode() == kRadioView ? *find_stations_ : *find_channels_;
    find.OpenOver(area, typed, web_browser1_->Window());
  });

  cast_ = std::make_unique<CastMenu>(parts_, *viewer_, [this] { return PlayingName(); });

  const double dpi = DesktopTextDpi();
  SetClientSize(TwipsToPixels(design::kClientWidth, dpi),
                TwipsToPixels(design::kClientHeight, dpi));
  Centre();
  place_ = std::make_unique<WindowPlaceKeeper>(this, [this] { return small_->Active(); });
  place_->Restore(viewer_->Choices().window);
  Bind(wxEVT_CLOSE_WINDOW, &Form1::OnClose, this);
  // Running from the moment the window exists, as the station list expects.
  timer1_.Start(static_cast<int>(options_.station_timer.count()));
}

Form1::~Form1() { timer1_.Stop(); }

// The login window's box holds the account signed in with, or being signed in with.
std::u16string Form1::Account() const {
  const FrmLogin* login = login_->Existing();
  return login ? login->UserName() : signin_->SavedUser();
}

// The name of the list entry whose page is on show; empty when none is.
std::u16string Form1::PlayingName() const {
  const std::optional<PlayedPage>& played = viewer_->Choices().played;
  if (!viewer_->OnShow() || !played) return {};
  PageList& list =
      played->kind == PageKind::kStation ? stations_->Stations() : programmes_->Channels();
  const std::optional<std::size_t> position = list.Find(played->address);
  return position ? list.Name(*position) : std::u16string();
}

// After the window shows: the desktop's tray is no part of the start.
void Form1::StartTray() {
  TrayActions actions;
  actions.state = [this] {
    TrayState state;
    for (const Favourite& favourite : viewer_->Choices().FavouritesOf(Account())) {
      state.favourites.push_back(favourite.name);
    }
    state.muted = viewer_->Choices().muted;
    state.small_window = small_->Active();
    state.sleep_minutes_left = sleep_timer_->MinutesLeft();
    state.playing = PlayingName();
    return state;
  };
  actions.play_favourite = [this](std::size_t place) {
    const std::vector<Favourite> favourites = viewer_->Choices().FavouritesOf(Account());
    if (place < favourites.size()) viewer_->PlayFavourite(favourites[place]);
  };
  actions.toggle_mute = [this] { viewer_->ToggleMute(); };
  actions.toggle_small_window = [this] { small_->Toggle(); };
  actions.set_sleep = [this](int minutes) { sleep_timer_->Set(minutes); };
  actions.cancel_sleep = [this] { sleep_timer_->Cancel(); };
  actions.close_to_tray = [this] { return viewer_->Choices().close_to_tray; };
  tray_ = std::make_unique<TrayMenu>(parts_, std::move(actions));
  if (options_.start_in_tray) tray_->StartHidden();
  const auto refresh = [this] {
    if (tray_) tray_->Refresh();
  };
  viewer_->SetOnChange(refresh);
  sleep_timer_->SetOnChange(refresh);
  small_->SetOnChange(refresh);
  viewer_->AddOption({.label = [this] { return tray_ ? tray_->OptionLabel() : std::u16string(); },
                      .checked = [this] { return viewer_->Choices().close_to_tray; },
                      .toggle = [this] { viewer_->ToggleCloseToTray(); }});
}

// Created bottom first: a control made later is drawn above the ones made before it. Geometry
// that the layout changes is placed by the layout unit.
void Form1::CreateControls() {
  image1_ = new PanelBar(this);
  command2_ = new wxButton(this, wxID_ANY, ToWx(u"透明边框"));
  command2_->SetName("Command2");
  command3_ = new wxButton(this, wxID_ANY, ToWx(u"取消透明"));
  command3_->SetName("Command3");
  list1_ = MakeList(this, "List1", u"广播电台", *wxWHITE, *wxBLACK);

  web_browser1_ = MakeBrowser(options_.browser_factory, this, "WebBrowser1");
  web_browser1_->SetRect(design::kWebBrowser1);
  NameForReaders(web_browser1_->Window(), u"播放");
  // The service view's pages are small and the service's own: they share the playback view's
  // page process rather than start a second one.
  web_browser2_ = MakeBrowser(options_.browser_factory, this, "WebBrowser2", web_browser1_.get());
  web_browser2_->SetRect(design::kWebBrowser2);
  NameForReaders(web_browser2_->Window(), u"公告");
  list2_ = MakeList(this, "List2", u"电视频道", *wxBLACK, *wxWHITE);
  // Made last, to lie over everything while it shows.
  save_notice_ = std::make_unique<SaveNotice>(this);

  StackAsMade(this);
}

void Form1::CreateMenus() {
  for (const char16_t* caption : {u"看电视", u"听广播", u"账号登陆", u"窗口置顶"}) {
    menus_.Add(caption, nullptr);
  }
  // The bulletin entries n1 to n6: on the bar from the start, empty and so out of sight, until a
  // verify page's block names them.
  for (int i = 0; i < kBulletinItems; ++i) menus_.Add(u"", nullptr);
  static_assert(kDingshi == kN1 + kBulletinItems);
  menus_.Add(SleepTimerCaption(std::nullopt), nullptr);
  menus_.Add(u"小窗", nullptr);
  menus_.Add(u"投屏", nullptr);
  menus_.Attach();
}

void Form1::Form_Load() {
  Contained("the skin", [&] { skin_.SkinH_Attach(); });
  Contained("the built-in channels", [&] { programmes_->AppendBuiltIns(); });
  Contained("the skin file", [&] {
    const std::filesystem::path skin_file = options_.app_folder / "real.she";
    if (std::filesystem::is_regular_file(skin_file)) skin_.SkinH_AttachEx(skin_file, "");
  });
  Contained("the translucent border", [&] { skin_.SkinH_SetAero(1); });
  Contained("the remembered account", [&] {
    signin_->ReadSavedAccount();
    viewer_->AccountChanged();
  });
  layout_->SetViewMode(kTvView);
  Contained("the page views", [&] { PrepareBrowserViews(); });
  // What could not reach the service is fetched again once it answers, in this order; the
  // download page and the verify page come back by themselves, as every page of the views does.
  Contained("the sign-in", [&] {
    if (signin_->SignIn()) return;
    catch_up_->Missed(StartupCatchUp::kSignIn, [this] { return signin_->SignInAgain(); });
  });
  Contained("the programme list", [&] {
    if (programmes_->Load()) return;
    catch_up_->Missed(StartupCatchUp::kProgrammeList, [this] { return programmes_->Load(); });
  });
  Contained("the download page", [&] {
    if (!viewer_->Resume()) OpenDownloadPage();
  });
  CallAfter([this] { Contained("the tray", [&] { StartTray(); }); });
}

void Form1::BringForward(const std::string& startup_id) {
  if (tray_) {
    tray_->ShowWindow();
  } else {
    Show();
    Iconize(false);
  }
  talvo::BringForward(this, startup_id);
}

void Form1::PrepareBrowserViews() {
  web_browser1_->SetProxy(options_.config.proxy);
  web_browser1_->SetSilent(true);
  web_browser2_->SetSilent(true);
  web_browser1_->Navigate(u"about:blank");
  web_browser2_->Navigate(u"about:blank");
}

void Form1::OpenDownloadPage() {
  web_browser1_->Navigate(AccountPageAddress(options_.config.primary_host, u"/user/Download.asp",
                                             signin_->SavedUser()));
}

void Form1::OnClose(wxCloseEvent& event) {
  if (event.CanVeto() && tray_ && tray_->KeepOnClose()) {
    event.Veto();
    return;
  }
  if (FetchWaitDepth() > 0 && event.CanVeto()) {
    // A handler further down the stack is inside a fetch and will touch this window when it
    // returns: end the network now, get out of sight, and close once that handler is done.
    event.Veto();
    Hide();
    SetFetchesEnabled(false);
    RunWhenNoFetchWaits([self = wxWeakRef<Form1>(this)] {
      if (self) self->Close(true);
    });
    return;
  }
  Form_Unload();
  Destroy();
}

// The login window may exist hidden; it must not outlive the application's window.
void Form1::Form_Unload() {
  timer1_.Stop();
  viewer_->KeepPlaces(place_->Place(), small_->Place());
  login_->Unload();
  // The window is destroyed at the next idle time, and a fetch's wait lets idle time run. An
  // event still queued for the window (a click, a tick) must not start one: its handler would
  // come back to a window that is gone. Closing the main window ends the application, so no
  // later request is lost.
  SetFetchesEnabled(false);
}

}  // namespace talvo
