#include "mainwindow/form1.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/image.h>
#include <wx/listbox.h>
#include <wx/timer.h>
#include <wx/weakref.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "core/charset.h"
#include "core/credential_file.h"
#include "core/fetcher.h"
#include "mainwindow/design.h"
#include "mainwindow/page_list_ui.h"
#include "mainwindow/panel_bar.h"
#include "platform/window_titles.h"
#include "platform/wx_text.h"
#include "tests/gui/gui_test.h"
#include "tests/support/form1_fixture.h"
#include "tests/support/form1_probe.h"
#include "tests/support/loopback_server.h"
#include "tests/support/recording_browser.h"

namespace talvo {
namespace {

using namespace std::chrono_literals;

const std::vector<std::u16string> kBuiltInNames = {u"北京卫视高清", u"广东卫视高清",
                                                   u"江苏卫视高清", u"深圳卫视高清",
                                                   u"浙江卫视高清", u"黑龙江卫视高清"};

// Form1 against a TV host and a primary host that answer the programme list, slowly if asked.
class Form1Test : public testing::Form1Fixture {
 protected:
  void SetUp() override {
    Form1Fixture::SetUp();
    for (LoopbackServer* server : {&tv_, &primary_}) {
      server->http().Get("/user/jiemubiao.asp", [this, server](const httplib::Request&,
                                                               httplib::Response& res) {
        // A slow host, cut short when the test ends.
        const auto start = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - start < delay_.load()) {
          std::this_thread::sleep_for(10ms);
        }
        res.set_content(EncodeGbk(server == &tv_ ? tv_reply_ : u""), "text/plain; charset=gb2312");
      });
    }
    options_.config.channel_host = u"live.test:81";
    StartService();
  }

  void TearDown() override {
    delay_ = 0ms;
    Form1Fixture::TearDown();
  }

  std::vector<std::u16string> Entries() {
    std::vector<std::u16string> names;
    wxListBox* list = probe().Channels().List();
    for (unsigned i = 0; i < list->GetCount(); ++i) names.push_back(FromWx(list->GetString(i)));
    return names;
  }

  // What a click on entry n raises.
  void Choose(int n) { testing::ChooseRow(probe().Channels().List(), n); }

  std::u16string PrimaryUrl(const std::u16string& target) {
    return u"http://" + Utf8ToUtf16(primary_.HostPort()) + target;
  }

  std::vector<std::string> ListRequests(const LoopbackServer& server) {
    return testing::RequestsFor(server, "/user/jiemubiao.asp");
  }

  std::u16string tv_reply_;
  std::atomic<std::chrono::milliseconds> delay_{0ms};
};

TEST_F(Form1Test, ServiceUnreachableLeavesTheBuiltInsAndStillOpensTheDownloadPage) {
  options_.config.tv_host = u"127.0.0.1:" + Utf8ToUtf16(std::to_string(testing::UnusedPort()));
  options_.config.primary_host = u"127.0.0.1:" + Utf8ToUtf16(std::to_string(testing::UnusedPort()));
  Form1& form = Load();

  EXPECT_EQ(Entries(), kBuiltInNames);
  EXPECT_EQ(FromWx(form.GetTitle()), DesignTitle(options_.config));
  EXPECT_EQ(Probe(form).ViewMode(), 1);
  EXPECT_TRUE(Probe(form).WindowSkin().Attached());
  EXPECT_TRUE(Probe(form).WindowSkin().AeroOn());
  EXPECT_TRUE(testing::Recording(Probe(form).WebBrowser1()).Silent());
  EXPECT_TRUE(testing::Recording(Probe(form).WebBrowser2()).Silent());
  EXPECT_EQ(Playback(),
            (std::vector<std::u16string>{u"about:blank", u"http://" + options_.config.primary_host +
                                                             u"/user/Download.asp?yh="}));
  // No saved account: a guest, whose verify page is asked for even when nothing answers.
  EXPECT_EQ(ServiceView(),
            (std::vector<std::u16string>{u"about:blank", u"http://" + options_.config.primary_host +
                                                             u"/user/yanzhen.asp?yh=guest"}));
}

TEST_F(Form1Test, DesignGeometryIsInTwips) {
  Form1& form = Load();
  EXPECT_EQ(form.GetClientSize(), wxSize(917, 580));
  EXPECT_EQ(Probe(form).WebBrowser1().Window()->GetRect(), wxRect(336, 0, 585, 297));
  EXPECT_EQ(Probe(form).Channels().List()->GetRect(), wxRect(0, 0, 129, 324));
  // A negative size is refused and the old one stays.
  Probe(form).WebBrowser1().SetWidth(-15);
  EXPECT_EQ(Probe(form).WebBrowser1().Window()->GetRect(), wxRect(336, 0, 585, 297));
}

TEST_F(Form1Test, FiveLineReplyAddsTwoEntriesThatOpenTheirAddressesUnchanged) {
  tv_reply_ = u"央视卫视\r\nhttp://Pages.test/a?x=1&y=%41\r\n凤凰台\r\nhttp://pages.test/b\r\n";
  Load();
  std::vector<std::u16string> expected = kBuiltInNames;
  expected.push_back(u"央视卫视");
  expected.push_back(u"凤凰台");
  EXPECT_EQ(Entries(), expected);
  EXPECT_EQ(probe().Channels().Urls().At(6), u"http://Pages.test/a?x=1&y=%41");
  EXPECT_EQ(ListRequests(tv_), std::vector<std::string>{"/user/jiemubiao.asp?yh="});
  EXPECT_TRUE(ListRequests(primary_).empty());

  Choose(6);
  EXPECT_EQ(Playback().back(), u"http://Pages.test/a?x=1&y=%41");
  Choose(7);
  EXPECT_EQ(Playback().back(), u"http://pages.test/b");
  Choose(4);
  EXPECT_EQ(Playback().back(), u"http://live.test:81/usbtv/sjwsgq.html");
  Choose(5);
  EXPECT_EQ(Playback().back(), u"http://live.test:81/usbtv/hljgq.html");
}

TEST_F(Form1Test, SavedUserGoesIntoQueriesPercentEncoded) {
  WriteCredentialFile(options_.app_folder, u"张三&x", u"pw");
  Load();
  EXPECT_EQ(probe().SavedUser(), u"张三&x");
  EXPECT_EQ(ListRequests(tv_), std::vector<std::string>{"/user/jiemubiao.asp?yh=%D5%C5%C8%FD%26x"});
  EXPECT_EQ(Playback().back(), PrimaryUrl(u"/user/Download.asp?yh=%D5%C5%C8%FD%26x"));
}

TEST_F(Form1Test, TimerTicksWhileAStartUpFetchWaits) {
  delay_ = 1500ms;
  tv_reply_ = u"北京卫视\r\nhttp://pages.test/bj\r\n";
  options_.station_timer = 200ms;
  form_ = new Form1(options_);
  bool loading = true;
  bool ticked_during_load = false;
  form_->Bind(wxEVT_TIMER, [&](wxTimerEvent& event) {
    ticked_during_load = loading;
    event.Skip();
  });
  form_->Form_Load();
  loading = false;
  EXPECT_TRUE(ticked_during_load);
  EXPECT_FALSE(probe().Timer1().IsRunning()) << "the tick stops the timer: one load per start";
  EXPECT_EQ(Entries().size(), 7u);
}

TEST_F(Form1Test, ClosingWhileAFetchWaitsEndsPromptlyAndDestroysTheWindow) {
  delay_ = 10000ms;
  tv_reply_ = u"北京卫视\r\nhttp://pages.test/bj\r\n";
  form_ = new Form1(options_);
  wxWeakRef<Form1> alive(form_);
  form_->Show();
  // What the window manager's close button does, while start-up waits for the TV host.
  form_->CallAfter([this] { form_->Close(); });
  const auto start = std::chrono::steady_clock::now();
  form_->Form_Load();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << "close did not end the fetch";
  // Out of sight at once; GTK may still be finishing a deferred show, hence the short wait.
  EXPECT_TRUE(WaitFor([&] { return !alive || !form_->IsShown(); }, 1000));
  EXPECT_TRUE(WaitFor("the window to be destroyed", [&] { return !alive; }));
  form_ = nullptr;
}

// What a user's last clicks and the desktop may leave queued when the window closes: each event
// that still runs finds its unit or none, never one that is gone, and the window goes. The tick
// is the sharp one: a list load waiting on the network lets idle time run, and idle time is when
// a closed window is deleted (a sanitizer build fails on the load's return if it was).
TEST_F(Form1Test, EventsStillQueuedWhenTheWindowClosesReachNothingThatIsGone) {
  tv_reply_ = u"北京卫视\r\nhttp://pages.test/bj\r\n";
  Form1& form = Start();
  const Form1Parts parts = probe().Parts();
  wxMenu* view_switch = probe().Menus().MenuOf(kJiemian);
  // Through the handler itself: a window keeps QueueEvent to itself.
  const auto queue = [](wxEvtHandler* target, wxEvent* event) { target->QueueEvent(event); };
  const auto queue_user_events = [&] {
    queue(&form, new wxSizeEvent(wxSize(900, 600), form.GetId()));
    queue(&form, new wxShowEvent(form.GetId(), true));
    queue(&form, new wxTimerEvent(*parts.timer1));
    auto* menu = new wxMenuEvent(wxEVT_MENU_OPEN, 0, view_switch);
    menu->SetEventObject(&form);
    queue(&form, menu);
    for (wxListBox* list : {parts.list1, parts.list2}) {
      auto* chosen = new wxCommandEvent(wxEVT_LISTBOX, list->GetId());
      chosen->SetEventObject(list);
      chosen->SetInt(0);
      queue(list, chosen);
      queue(list, new wxMouseEvent(wxEVT_LEFT_UP));
    }
    for (wxButton* button : {parts.command2, parts.command3}) {
      auto* click = new wxCommandEvent(wxEVT_BUTTON, button->GetId());
      click->SetEventObject(button);
      queue(button, click);
    }
    queue(parts.image1, new wxMouseEvent(wxEVT_LEFT_UP));
  };
  const wxWeakRef<Form1> alive(&form);
  queue_user_events();
  form.Close();  // what the close box does
  queue_user_events();
  EXPECT_TRUE(WaitFor("the window to be destroyed", [&] { return !alive; }));
  form_ = nullptr;
  wxTheApp->ProcessPendingEvents();
}

TEST_F(Form1Test, SkinFileIsAttachedAndABrokenOneIsIgnored) {
  std::ofstream(options_.app_folder / "real.she") << "; blue\nwindow = #102030\nbutton = #405060\n";
  Load();
  EXPECT_EQ(probe().WindowSkin().Scheme().window, 0x102030u);
  EXPECT_EQ(form_->GetBackgroundColour(), wxColour(0x10, 0x20, 0x30));
  // The skin paints the window's background itself: below the channel list, its colour shows.
  form_->Show();
  ASSERT_TRUE(WaitFor([&] { return form_->IsActive(); }));
  const wxPoint background = form_->ClientToScreen(wxPoint(20, form_->GetClientSize().y - 4));
  // On a busy machine the first paint may come later than the screenshot: a few more are taken.
  wxString seen;
  for (int shots = 0; shots < 10 && seen != "#102030"; ++shots) {
    wxImage shot;
    ASSERT_TRUE(shot.LoadFile(testing::SaveScreenshot("skin-background")));
    seen = testing::PixelAt(shot, background).GetAsString(wxC2S_HTML_SYNTAX);
  }
  EXPECT_EQ(seen, "#102030");
  testing::DestroyAndWait(form_);

  std::ofstream(options_.app_folder / "real.she", std::ios::trunc) << "\x89PNG not a skin";
  Load();
  EXPECT_EQ(probe().WindowSkin().Scheme().window, SkinScheme{}.window);
  EXPECT_EQ(Entries(), kBuiltInNames);
  testing::DestroyAndWait(form_);

  // Only the head of a huge file is read: a line past 64 KiB changes nothing, and 1 GiB of
  // nothing holds up nothing.
  std::ofstream(options_.app_folder / "real.she", std::ios::trunc)
      << std::string(70 * 1024, ';') << "\n"
      << "window = #102030\n";
  std::filesystem::resize_file(options_.app_folder / "real.she", std::uintmax_t{1} << 30);
  Load();
  EXPECT_EQ(probe().WindowSkin().Scheme().window, SkinScheme{}.window);
}

}  // namespace
}  // namespace talvo
