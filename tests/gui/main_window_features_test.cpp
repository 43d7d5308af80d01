// The main window's features on a real window under a window manager, with recording browser
// views: layout and view switches, the station list's tick, the bulletin menu, keeping on top.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/menu.h>

#include <stdexcept>

#include "core/charset.h"
#include "core/credential_file.h"
#include "core/fetcher.h"
#include "core/service_address.h"
#include "mainwindow/bulletin_menu_ui.h"
#include "mainwindow/layout_ui.h"
#include "mainwindow/page_list_ui.h"
#include "mainwindow/panel_bar.h"
#include "mainwindow/service_lists_ui.h"
#include "mainwindow/startup_catch_up_ui.h"
#include "mainwindow/window_options_ui.h"
#include "platform/wx_text.h"
#include "tests/gui/gui_test.h"
#include "tests/support/form1_fixture.h"
#include "tests/support/form1_probe.h"
#include "tests/support/loopback_server.h"
#include "tests/support/recording_browser.h"

namespace talvo {
namespace {

using namespace std::chrono_literals;

// Both hosts answer the station list.
class MainWindowFeaturesTest : public testing::Form1Fixture {
 protected:
  void SetUp() override {
    Form1Fixture::SetUp();
    for (LoopbackServer* server : {&primary_, &tv_}) {
      server->http().Get(
          "/user/diantaibiao.asp", [this, server](const httplib::Request&, httplib::Response& res) {
            res.set_content(EncodeGbk(server == &tv_ ? tv_stations_ : primary_stations_),
                            "text/plain; charset=gb2312");
          });
    }
    StartService();
  }

  void ClickMenu(int entry) { testing::ClickMenuEntry(*form_, entry); }

  std::u16string tv_stations_;
  std::u16string primary_stations_;
};

// A catch-up step that throws has not reached the service: it is tried again, in its place
// before the others, and the catch-up is never left stuck.
TEST_F(MainWindowFeaturesTest, ACatchUpStepThatThrowsIsTriedAgainBeforeTheOthers) {
  Form1& form = Start();
  StartupCatchUp catch_up(Probe(form).Views());
  int sign_ins = 0, lists = 0;
  catch_up.Missed(StartupCatchUp::kSignIn, [&]() -> bool {
    if (sign_ins++ == 0) throw std::runtime_error("out of memory");
    return true;
  });
  catch_up.Missed(StartupCatchUp::kProgrammeList, [&] { return ++lists > 0; });
  EXPECT_TRUE(WaitFor(
      "both steps to catch up", [&] { return !catch_up.Pending(); }, 20000));
  EXPECT_EQ(sign_ins, 2);
  EXPECT_EQ(lists, 1);
}

// The numbers are layout_test's; here, that the window applies them: at every size the window
// manager gives, at every view switch, and in pixels where the twips say.
TEST_F(MainWindowFeaturesTest, ResizeAndViewSwitchesLayTheWindowOut) {
  Form1& form = Start();
  const Form1Parts& parts = Probe(form).Parts();
  BrowserView& playback = Probe(form).WebBrowser1();
  const double dpi = DesktopTextDpi();
  const auto placed_where_its_twips_say = [&](TwipsPlaced& part) {
    return part.Window()->GetRect() ==
           wxRect(TwipsToPixels(part.Left(), dpi), TwipsToPixels(part.Top(), dpi),
                  TwipsToPixels(part.Width(), dpi), TwipsToPixels(part.Height(), dpi));
  };
  const double width_before = playback.Width();
  const double list_height_before = Probe(form).Views().List2().Height();
  form.SetSize(1000, 700);
  ASSERT_TRUE(WaitFor([&] {
    return form.GetSize() == wxSize(1000, 700) && playback.Width() > width_before;
  })) << form.GetSize().x
      << "x" << form.GetSize().y << " playback " << playback.Width();
  EXPECT_GT(Probe(form).Views().List2().Height(), list_height_before);
  for (TwipsPlaced* part :
       {static_cast<TwipsPlaced*>(&playback), static_cast<TwipsPlaced*>(&Probe(form).WebBrowser2()),
        &Probe(form).Views().List2(), &Probe(form).Views().Image1()}) {
    EXPECT_TRUE(placed_where_its_twips_say(*part)) << part->Window()->GetName();
  }
  EXPECT_TRUE(parts.list2->IsShown());

  ClickMenu(kJiemian);  // 听广播
  EXPECT_EQ(Probe(form).ViewMode(), kRadioView);
  EXPECT_TRUE(parts.list1->IsShown() && parts.command2->IsShown() && parts.command3->IsShown());
  EXPECT_FALSE(parts.list2->IsShown());
  EXPECT_TRUE(placed_where_its_twips_say(Probe(form).Views().List1()));

  ClickMenu(kJiemu);  // 看电视: the channel list on top, the station list still marked shown
  EXPECT_EQ(Probe(form).ViewMode(), kTvView);
  EXPECT_TRUE(parts.list2->IsShown());
  EXPECT_TRUE(parts.list1->IsShown());

  ClickMenu(kJiemian);
  parts.image1->ProcessWindowEvent(*std::make_unique<wxMouseEvent>(wxEVT_LEFT_UP));  // panel bar
  EXPECT_EQ(Probe(form).ViewMode(), kCollapsedView);
  EXPECT_FALSE(parts.list1->IsShown() || parts.list2->IsShown() || parts.command2->IsShown());
  // The playback view takes the side panel's room.
  EXPECT_LT(playback.Window()->GetPosition().x, parts.list2->GetRect().GetRight());
  EXPECT_TRUE(placed_where_its_twips_say(playback));
  EXPECT_TRUE(placed_where_its_twips_say(Probe(form).Views().Image1()));
  testing::SaveScreenshot("layout-collapsed");

  parts.image1->ProcessWindowEvent(*std::make_unique<wxMouseEvent>(wxEVT_LEFT_UP));
  EXPECT_EQ(Probe(form).ViewMode(), kTvView)
      << "from the collapsed view the panel bar opens the TV view";
  EXPECT_TRUE(parts.list2->IsShown());
  EXPECT_FALSE(parts.list1->IsShown());
}

TEST_F(MainWindowFeaturesTest, VipTitleMovesTheServiceViewOutOfSight) {
  Form1& form = Start();
  form.SetTitle(ToWx(u"塔沃高清影音 V2.02 账号：demo_vip VIP用户 欢迎"));
  const double before = Probe(form).WebBrowser1().Height();
  ClickMenu(kJiemu);
  EXPECT_GT(Probe(form).WebBrowser1().Height(), before) << "the playback view takes the room";
  EXPECT_GE(Probe(form).WebBrowser2().Window()->GetPosition().y, form.GetClientSize().y)
      << "the service view is still in sight";
}

TEST_F(MainWindowFeaturesTest, StationsArriveAtTheTickAndOpenTheirPages) {
  tv_stations_ = u"维护中";
  primary_stations_ =
      u"音乐广播\r\nhttp://radio.test/music\r\n交通广播\r\nhttp://radio.test/traffic\r\n"
      u"本地\r\njavascript:alert(1)\r\n孤行";
  WriteCredentialFile(options_.app_folder, u"听众 1", u"pw");
  Form1& form = Start();
  wxListBox* list1 = Probe(form).Parts().list1;
  EXPECT_EQ(list1->GetCount(), 0u) << "no station before the tick";
  // Brought nearer only now: a slow start (a sanitized build) could otherwise see it come during
  // the start-up's own requests.
  Probe(form).Timer1().Start(300);
  ASSERT_TRUE(WaitFor([&] { return list1->GetCount() == 3; }));
  EXPECT_FALSE(Probe(form).Timer1().IsRunning());
  EXPECT_EQ(FromWx(list1->GetString(1)), u"交通广播");
  const std::string query = "yh=" + Utf16ToUtf8(EncodeQueryValue(u"听众 1"));
  EXPECT_EQ(tv_.Targets().back(), "/user/diantaibiao.asp?" + query);
  EXPECT_EQ(primary_.Targets().back(), "/user/diantaibiao.asp?" + query);

  const auto choose = [&](int n) { testing::ChooseRow(list1, n); };
  choose(1);
  EXPECT_EQ(Playback().back(), u"http://radio.test/traffic");
  const std::size_t navigations = Playback().size();
  choose(2);  // not a web address: never opened
  EXPECT_EQ(Playback().size(), navigations);
}

TEST_F(MainWindowFeaturesTest, BulletinBlocksPutEntriesOnTheBarThatOpenTheirLinks) {
  Form1& form = Start();
  ClickableMenuBar& menus = Probe(form).Menus();
  RecordingBrowser& service = testing::Recording(Probe(form).WebBrowser2());
  service.FinishLoad(u"");  // about:blank
  EXPECT_FALSE(Probe(form).Bulletins().BulletinFields());

  service.FinishLoad(
      u"会员公告 $$$*新频道*http://news.test/1*R&B 专场*http://news.test/2*$$$ 谢谢");
  EXPECT_EQ(menus.Caption(kN1), u"1.新频道");
  EXPECT_EQ(menus.Caption(kN1 + 1), u"2.R&B 专场");
  EXPECT_FALSE(menus.IsShown(kN1 + 2));
  ClickMenu(kN1 + 1);
  EXPECT_EQ(Playback().back(), u"http://news.test/2");

  // A later block of one pair: n2 keeps its caption but no longer leads anywhere.
  service.FinishLoad(u"$$$*换台通知*http://news.test/3*$$$");
  EXPECT_EQ(menus.Caption(kN1), u"1.换台通知");
  EXPECT_EQ(menus.Caption(kN1 + 1), u"2.R&B 专场");
  const std::size_t navigations = Playback().size();
  ClickMenu(kN1 + 1);
  EXPECT_EQ(Playback().size(), navigations);
  ClickMenu(kN1);
  EXPECT_EQ(Playback().back(), u"http://news.test/3");
}

TEST_F(MainWindowFeaturesTest, OnTopIsWhatTheWindowManagerReportsAndNothingMoves) {
  Form1& form = Start();
  ASSERT_TRUE(WaitFor([&] { return form.IsActive(); }));
  const wxRect before = form.GetScreenRect();
  const auto above = [&] { return testing::KeptAbove(&form); };
  EXPECT_FALSE(above());
  ClickMenu(kChuangkou);
  EXPECT_EQ(Probe(form).Menus().Caption(kChuangkou), u"窗口置顶√");
  EXPECT_TRUE(WaitFor("the window manager to keep the window above", above));
  ClickMenu(kChuangkou);
  EXPECT_EQ(Probe(form).Menus().Caption(kChuangkou), u"窗口置顶");
  EXPECT_TRUE(WaitFor([&] { return !above(); }));
  EXPECT_EQ(form.GetScreenRect(), before);
}

// Favourites (★, by account and address), the sound and playing the last page at start
// survive a restart; a favourite no longer in any list can be removed.
TEST_F(MainWindowFeaturesTest, ARestartKeepsFavouritesSoundAndTheLastChannel) {
  WriteCredentialFile(options_.app_folder, u"观众", u"pw");
  ViewerChoices kept;
  kept.favourites.push_back({u"观众", PageKind::kStation, u"http://radio.test/gone", u"旧电台"});
  kept.favourites.push_back({u"别人", PageKind::kChannel,
                             ServiceUrl(options_.config.channel_host, u"/usbtv/bjwsgq.html"),
                             u"北京卫视高清"});
  ASSERT_EQ(SaveViewerChoices(options_.app_folder, kept), SaveTrouble::kNone);
  Load();
  ViewerMemory& viewer = probe().Viewer();
  viewer.ToggleFavourite(PageKind::kChannel, 2);
  viewer.ToggleMute();
  viewer.StepVolume(-1);
  viewer.ToggleResume();
  testing::ChooseRow(probe().Parts().list2, 3);
  const std::u16string played = Playback().back();
  testing::DestroyAndWait(form_);

  Load();
  wxListBox* list2 = probe().Parts().list2;
  EXPECT_EQ(FromWx(list2->GetString(2)), u"★ 江苏卫视高清");
  EXPECT_EQ(FromWx(list2->GetString(0)), u"北京卫视高清") << "another account's favourite";
  const auto& view = testing::Recording(probe().WebBrowser1());
  EXPECT_TRUE(view.Muted());
  EXPECT_EQ(view.Volume(), 90);
  EXPECT_EQ(view.Navigations().back(), played) << "the last channel instead of the download page";
  EXPECT_EQ(list2->GetSelection(), 3);

  ViewerChoices now = probe().Viewer().Choices();
  ASSERT_EQ(now.FavouritesOf(u"观众").size(), 2u);
  EXPECT_FALSE(probe().Viewer().InAList(now.FavouritesOf(u"观众")[0]));
  probe().Viewer().RemoveMissingFavourites();
  now = probe().Viewer().Choices();
  EXPECT_EQ(now.FavouritesOf(u"观众").size(), 1u);
  EXPECT_EQ(now.FavouritesOf(u"别人").size(), 1u);
}

}  // namespace
}  // namespace talvo
