// Real playback with the real engine against the demo service: every kind of page a TV or radio
// service carries plays with sound and without a click; an undecodable
// stream shows the page's own error; fullscreen from the player's button and from F11 and Esc
// wherever the focus is, and back; the demo channels keep moving long after their clip ends.
#include <gtest/gtest.h>
#include <wx/listbox.h>

#include <gtk/gtk.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <iostream>
#include <optional>
#include <regex>

#include "core/charset.h"
#include "core/fetcher.h"
#include "core/utf.h"
#include "mainwindow/form1.h"
#include "mainwindow/fullscreen_ui.h"
#include "platform/web/page_scripts.h"
#include "platform/wx_text.h"
#include "tests/gui/gui_test.h"
#include "tests/support/client_harness.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/form1_fixture.h"
#include "tests/support/form1_probe.h"

namespace talvo {
namespace {

// What the demo's player pages show: "播放中 t=1.24 w=640 有声 音量 100% 帧 31".
struct PlayerState {
  bool playing = false;
  double time = 0;
  int width = -1;
  bool audible = false;
  bool failed = false;
  int frames = -1;
  int volume = -1;
};

PlayerState ReadPlayer(BrowserView& view, const std::string& name) {
  const std::string text = Utf16ToUtf8(testing::ReadText(view));
  PlayerState state;
  if (text.find(name) == std::string::npos) return state;  // still the page before
  std::smatch match;
  state.failed = text.find("无法播放") != std::string::npos;
  if (std::regex_search(text, match, std::regex("播放中 t=([0-9.]+)( w=([0-9]+))? (有声|静音)"))) {
    state.playing = true;
    state.time = std::stod(match[1]);
    state.width = match[3].matched ? std::stoi(match[3]) : -1;
    state.audible = match[4] == "有声";
  }
  if (std::regex_search(text, match, std::regex("帧 ([0-9]+)"))) state.frames = std::stoi(match[1]);
  if (std::regex_search(text, match, std::regex("音量 ([0-9]+)%")))
    state.volume = std::stoi(match[1]);
  return state;
}

class PlaybackTest : public testing::EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    work_ = e2e::NewWorkDir("playback");
    service_ = std::make_unique<e2e::DemoService>(work_);
    options_.sleep_length = std::chrono::seconds(4);
    StartOnTheEngine(service_->HostPort(), work_, std::chrono::milliseconds(300));
  }

  // The page named `name` plays, audibly and without an error, for 2 s of its own time from
  // where it was first seen playing (a live channel begins far from 0); a video shows frames.
  void ExpectPlaysWithSound(const std::string& name, bool video) {
    PlayerState state;
    std::optional<double> first;
    EXPECT_TRUE(WaitFor(
        [&] {
          state = ReadPlayer(probe().WebBrowser1(), name);
          if (state.playing && !first) first = state.time;
          return state.playing && state.time > *first + 2.0;
        },
        20000))
        << name << ": " << Utf16ToUtf8(testing::ReadText(probe().WebBrowser1()));
    EXPECT_TRUE(state.audible) << name;
    EXPECT_FALSE(state.failed) << name;
    if (video) {
      EXPECT_EQ(state.width, 640) << name;
      EXPECT_GT(state.frames, 0) << name;
    }
  }

  std::string NetWmState() { return testing::WindowProperty(form_, "_NET_WM_STATE"); }
  bool Fullscreen() { return NetWmState().find("_NET_WM_STATE_FULLSCREEN") != std::string::npos; }
  bool CoversScreen() {
    return probe().WebBrowser1().Window()->GetScreenRect() ==
           wxRect(wxPoint(0, 0), wxGetDisplaySize());
  }
  // The window and its playback view where they were before fullscreen.
  void RememberWindow() {
    window_ = form_->GetScreenRect();
    playback_ = probe().WebBrowser1().Window()->GetScreenRect();
  }
  bool Restored() {
    return !Fullscreen() && form_->GetScreenRect() == window_ &&
           probe().WebBrowser1().Window()->GetScreenRect() == playback_;
  }
  void ClickPlayersFullscreenButton() {
    const wxPoint button(playback_.GetRight() - 24, playback_.GetBottom() - 14);
    testing::ClickOnScreen(button);
  }

  std::filesystem::path work_;
  std::unique_ptr<e2e::DemoService> service_;
  wxRect window_;
  wxRect playback_;
};

// Each chosen from its row, as a viewer chooses it.
TEST_F(PlaybackTest, EveryKindOfPageAServiceCarriesPlaysWithSoundUnclicked) {
  struct Row {
    bool station;
    const char* name;
    const char* fetched;  // a request the page's player makes
  };
  const Row rows[] = {
      {false, "北京卫视高清", "/media/channel.mp4"},        // H.264/AAC in <video>
      {false, "广东卫视高清", "/media/mse/seg1.m4s"},       // segments through Media Source
      {false, "新闻直播卫视", "/media/live/live.m3u8"},     // live HLS, a script player
      {false, "手机直播卫视", "/media/live_ts/live.m3u8"},  // live HLS handed to <video>
      {false, "回看点播卫视", "/media/mse/index.m3u8"},     // on-demand HLS handed to <video>
      {false, "动态点播卫视", "/media/dash/manifest.mpd"},  // DASH handed to <video>
      {false, "超高清卫视", "/media/hevc.mp4"},             // H.265 in MP4
      {true, "音乐之声广播", "/media/radio/yyzs.mp3"},      // an MP3 file
      {true, "环球音乐广播", "/stream/hqyy.mp3"},           // an endless MP3 station
      {true, "都市流行广播", "/stream/dslx.aac"},           // an endless AAC station
  };
  for (const Row& row : rows) {
    wxListBox* list = row.station ? probe().Parts().list1 : probe().Parts().list2;
    ASSERT_TRUE(WaitFor([&] { return list->FindString(ToWx(Utf8ToUtf16(row.name))) >= 0; }, 10000))
        << row.name;
    testing::ChooseRow(list, list->FindString(ToWx(Utf8ToUtf16(row.name))));
    ExpectPlaysWithSound(row.name, !row.station);
    EXPECT_FALSE(service_->RequestsFor(row.fetched).empty()) << row.name;
    if (row.name == rows[0].name) testing::SaveScreenshot("playback-channel");
  }
}

// Each demo channel keeps moving long after its 8 s clip: the file starts again at its end, the
// Media Source channel is fed on without end. Watched side by side for 25 s, neither stands
// still for 3 s.
TEST_F(PlaybackTest, DemoChannelsKeepMovingLongAfterTheirClipEnds) {
  using Clock = std::chrono::steady_clock;
  struct Motion {
    Motion(BrowserView* shown_in, std::string channel) : view(shown_in), name(std::move(channel)) {}
    BrowserView* view;
    std::string name;
    double last = -1;
    double furthest = 0;
    int restarts = 0;
    std::optional<Clock::time_point> moved;
    double longest_still = 0;
  };
  Motion file{&probe().WebBrowser1(), "北京卫视高清"};
  Motion live{&probe().WebBrowser2(), "广东卫视高清"};
  testing::ChooseRow(probe().Parts().list2, 0);
  probe().WebBrowser2().Navigate(
      Utf8ToUtf16("http://" + service_->HostPort() + "/usbtv/gdwsgq.html"));
  const auto follow = [](Motion& motion) {
    const PlayerState state = ReadPlayer(*motion.view, motion.name);
    const Clock::time_point now = Clock::now();
    if (!state.playing) return;
    if (state.time != motion.last) {
      if (state.time < motion.last) ++motion.restarts;
      motion.last = state.time;
      motion.furthest = std::max(motion.furthest, state.time);
      motion.moved = now;
    }
    motion.longest_still =
        std::max(motion.longest_still, std::chrono::duration<double>(now - *motion.moved).count());
  };
  ASSERT_TRUE(WaitFor(
      [&] {
        follow(file);
        follow(live);
        return file.moved && live.moved;
      },
      20000))
      << Utf16ToUtf8(testing::ReadText(probe().WebBrowser2()));
  const Clock::time_point start = Clock::now();
  Clock::time_point sampled;
  WaitFor(
      [&] {
        if (Clock::now() - sampled < std::chrono::milliseconds(200)) return false;
        sampled = Clock::now();
        follow(file);
        follow(live);
        return sampled - start > std::chrono::seconds(25);
      },
      40000);
  EXPECT_LT(file.longest_still, 3.0);
  EXPECT_GE(file.restarts, 2) << "25 s of an 8 s clip start it again at least twice";
  EXPECT_LT(live.longest_still, 3.0);
  EXPECT_GT(live.furthest, 20.0) << "the live channel goes on past the end of its segments";
}

// The service of a playing station or channel goes away for 6 s and comes back on the same port:
// with no click, a line of ours shows while it is away, and the page plays again after it. A clip
// that plays to its length and starts again says nothing.
TEST_F(PlaybackTest, AStreamThatDropsComesBackByItself) {
  using Clock = std::chrono::steady_clock;
  const auto line_shows = [&] {
    return Utf16ToUtf8(testing::ReadText(probe().WebBrowser1())).find(kStreamLineText) !=
           std::string::npos;
  };
  const auto moving = [&](const std::string& name) {
    std::optional<double> first;
    return WaitFor(
        name + " playing, its time moving",
        [&] {
          const PlayerState state = ReadPlayer(probe().WebBrowser1(), name);
          // From where it plays after the line went: the page before a reload may still show.
          if (state.playing && (!first || state.time < *first)) first = state.time;
          return state.playing && state.time > *first + 1.0 && !line_shows();
        },
        25000);
  };
  const struct Row {
    bool station;
    const char* name;
  } rows[] = {
      {true, "环球音乐广播"},   // an endless MP3 station
      {true, "都市流行广播"},   // an endless AAC station
      {false, "新闻直播卫视"},  // live HLS through the page's script player
      {false, "手机直播卫视"},  // live HLS handed to <video>
  };
  for (const Row& row : rows) {
    wxListBox* list = row.station ? probe().Parts().list1 : probe().Parts().list2;
    ASSERT_TRUE(WaitFor([&] { return list->FindString(ToWx(Utf8ToUtf16(row.name))) >= 0; }, 10000));
    testing::ChooseRow(list, list->FindString(ToWx(Utf8ToUtf16(row.name))));
    ASSERT_TRUE(moving(row.name));
    const int port = service_->port();
    service_.reset();
    const Clock::time_point gone = Clock::now();
    EXPECT_TRUE(WaitFor(std::string(row.name) + ": the line shows", line_shows, 20000));
    WaitFor([&] { return Clock::now() - gone >= std::chrono::seconds(6); }, 20000);
    service_ = std::make_unique<e2e::DemoService>(
        work_, std::vector<std::string>{"--port", std::to_string(port)});
    const Clock::time_point back = Clock::now();
    EXPECT_TRUE(moving(row.name));
    std::cout << row.name << ": playing again "
              << std::chrono::duration<double>(Clock::now() - back).count()
              << " s after its service came back\n";
  }
  // The channel's clip ends and its page starts it again: once it has, no line.
  testing::ChooseRow(probe().Parts().list2, 0);
  double last = 0;
  bool restarted = false;
  EXPECT_TRUE(WaitFor(
      "the clip started again",
      [&] {
        const PlayerState state = ReadPlayer(probe().WebBrowser1(), "北京卫视高清");
        restarted = restarted || (state.playing && state.time + 1 < last);
        if (state.playing) last = state.time;
        return restarted;
      },
      30000));
  EXPECT_FALSE(line_shows());
}

// The sleep timer, every length 4 s here: the page's volume falls over its second half, then the
// view leaves the page, and the next channel plays at the viewer's volume.
TEST_F(PlaybackTest, TheSleepTimerFadesThePageOutThenStopsItAndTheVolumeStaysTheViewers) {
  testing::ChooseRow(probe().Parts().list2, 0);
  ExpectPlaysWithSound("北京卫视高清", true);
  probe().Sleep().Set(15);
  EXPECT_EQ(probe().Menus().Caption(kDingshi), u"定时关闭（还剩 1 分钟）");
  EXPECT_TRUE(WaitFor(
      "the volume fading",
      [&] {
        const int volume = ReadPlayer(probe().WebBrowser1(), "北京卫视高清").volume;
        return volume > 0 && volume < 90;
      },
      10000));
  EXPECT_TRUE(WaitFor(
      "the page left",
      [&] {
        return testing::ReadText(probe().WebBrowser1()).find(u"北京卫视高清") ==
               std::u16string::npos;
      },
      10000));
  EXPECT_EQ(probe().Menus().Caption(kDingshi), u"定时关闭");
  EXPECT_EQ(probe().Viewer().Choices().volume, 100);
  testing::ChooseRow(probe().Parts().list2, 1);
  EXPECT_TRUE(WaitFor(
      "the next channel at the viewer's volume",
      [&] { return ReadPlayer(probe().WebBrowser1(), "广东卫视高清").volume == 100; }, 20000));
}

TEST_F(PlaybackTest, AStreamThatCannotBeDecodedShowsThePagesErrorAndTheWindowStaysResponsive) {
  probe().WebBrowser1().Navigate(
      Utf8ToUtf16("http://" + service_->HostPort() + "/usbtv/broken.html"));
  EXPECT_TRUE(WaitFor([&] { return ReadPlayer(probe().WebBrowser1(), "broken").failed; }, 20000))
      << Utf16ToUtf8(testing::ReadText(probe().WebBrowser1()));
  testing::ChooseRow(probe().Parts().list2, 0);
  ExpectPlaysWithSound("北京卫视高清", true);
}

// Fullscreen with real keys wherever the keyboard focus is: F11 in the list (hidden once the window
// is fullscreen) or inside either page, the player's own button; out with Esc or F11. The window,
// its view mode and the focus then come back as they were.
TEST_F(PlaybackTest, FullscreenFromAnyFocusOrThePlayersButtonComesBackToTheSameWindow) {
  testing::ChooseRow(probe().Parts().list2, 0);
  ExpectPlaysWithSound("北京卫视高清", true);
  RememberWindow();
  const std::int16_t mode = probe().ViewMode();
  GtkWindow* window = GTK_WINDOW(form_->GetHandle());
  const auto click_into = [](wxWindow* target) {
    const wxPoint centre = target->GetScreenRect().GetPosition() + target->GetSize() / 2;
    testing::ClickOnScreen(centre);
  };
  const auto widget = [](wxWindow* of) { return GTK_WIDGET(of->GetHandle()); };
  struct Case {
    const char* focus_in;
    std::function<void()> give_focus;
    GtkWidget* holder;  // the focus is on it or inside it
    const char* key_out;
  };
  const Case cases[] = {
      {"the channel list", [&] { probe().Parts().list2->SetFocus(); },
       widget(probe().Parts().list2), "Escape"},
      {"the channel list", [&] { probe().Parts().list2->SetFocus(); },
       widget(probe().Parts().list2), "F11"},
      {"the playback page", [&] { click_into(probe().WebBrowser1().Window()); },
       widget(probe().WebBrowser1().Window()), "Escape"},
      {"the service page", [&] { click_into(probe().WebBrowser2().Window()); },
       widget(probe().WebBrowser2().Window()), "F11"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.focus_in) + ", out with " + c.key_out);
    GtkWidget* before = nullptr;
    c.give_focus();
    ASSERT_TRUE(WaitFor([&] {
      before = gtk_window_get_focus(window);
      return before != nullptr && (before == c.holder || gtk_widget_is_ancestor(before, c.holder));
    }));
    e2e::Shell("xdotool key F11");
    ASSERT_TRUE(WaitFor([&] { return Fullscreen() && CoversScreen(); }, 10000)) << NetWmState();
    EXPECT_FALSE(probe().Parts().list2->IsShown());
    e2e::Shell(std::string("xdotool key ") + c.key_out);
    EXPECT_TRUE(WaitFor([&] { return Restored(); }, 10000)) << NetWmState();
    EXPECT_TRUE(probe().Parts().list2->IsShown());
    EXPECT_TRUE(WaitFor([&] { return gtk_window_get_focus(window) == before; }))
        << "the focus is on "
        << (gtk_window_get_focus(window) ? G_OBJECT_TYPE_NAME(gtk_window_get_focus(window))
                                         : "nothing");
  }
  // The page's own fullscreen, from a real click on the player's button at the right end of the
  // page's bottom bar, ends with Esc and with F11. What is under test is the key; a click the page
  // takes no gesture from, just after the window came back, is clicked again.
  for (const std::string key_out : {"Escape", "F11"}) {
    ASSERT_TRUE(WaitFor(
        [&] {
          ClickPlayersFullscreenButton();
          return WaitFor([&] { return Fullscreen() && CoversScreen(); }, 3000);
        },
        12000))
        << NetWmState();
    if (key_out == "Escape") testing::SaveScreenshot("playback-fullscreen");
    e2e::Shell("xdotool key " + key_out);
    EXPECT_TRUE(WaitFor([&] { return Restored(); }, 10000)) << key_out << " " << NetWmState();
    EXPECT_EQ(probe().ViewMode(), mode);
  }
}

// Real keys in the channel list: typing opens the find box and leaves the rows that match; Enter
// plays the first; Esc leaves the list as it was.
TEST_F(PlaybackTest, TypingInTheListFindsAChannelByItsPinyin) {
  wxListBox* list = probe().Parts().list2;
  const unsigned rows = list->GetCount();
  list->SetFocus();
  ASSERT_TRUE(WaitFor([&] { return list->HasFocus(); }));
  const int chosen = list->GetSelection();
  e2e::Shell("xdotool type --delay 50 zjws");
  ASSERT_TRUE(WaitFor([&] { return list->GetCount() == 1; })) << list->GetCount() << " rows";
  EXPECT_EQ(list->GetString(0), ToWx(u"浙江卫视高清"));
  e2e::Shell("xdotool key Escape");
  ASSERT_TRUE(WaitFor([&] { return list->GetCount() == rows; }));
  EXPECT_EQ(list->GetSelection(), chosen);

  list->SetFocus();
  ASSERT_TRUE(WaitFor([&] { return list->HasFocus(); }));
  e2e::Shell("xdotool type --delay 50 gdws");
  e2e::Shell("xdotool key Return");
  ExpectPlaysWithSound("广东卫视高清", true);
  EXPECT_EQ(list->GetCount(), rows);
  EXPECT_EQ(list->GetSelection(), 1);

  // Chinese in the box, committed as an input method commits it: inserted at the cursor of the
  // entry that has the focus (xdotool cannot type what the keyboard map lacks into GTK here).
  list->SetFocus();
  ASSERT_TRUE(WaitFor([&] { return list->HasFocus(); }));
  e2e::Shell("xdotool type --delay 50 s");
  GtkWidget* box = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    box = gtk_window_get_focus(GTK_WINDOW(form_->GetHandle()));
    return box != nullptr && GTK_IS_ENTRY(box) &&
           std::string(gtk_entry_get_text(GTK_ENTRY(box))) == "s";
  }));
  e2e::Shell("xdotool key BackSpace");
  ASSERT_TRUE(WaitFor([&] { return *gtk_entry_get_text(GTK_ENTRY(box)) == 0; }));
  g_signal_emit_by_name(box, "insert-at-cursor", "深圳");
  ASSERT_TRUE(WaitFor([&] { return list->GetCount() == 1; }))
      << list->GetCount() << " rows for " << gtk_entry_get_text(GTK_ENTRY(box));
  EXPECT_EQ(list->GetString(0), ToWx(u"深圳卫视高清"));
  probe().Parts().list2->Hide();  // as fullscreen hides it: the find ends with it
  EXPECT_EQ(list->GetCount(), rows);
  list->Show();
}

// Backspace with real keys, in the list and in fullscreen, plays the page before and then the
// one after again; Down in fullscreen plays the next row; − turns the players down, and the
// volume stays as set on the next channel.
TEST_F(PlaybackTest, BackspaceGoesBackAndForthAndFullscreenKeysZap) {
  wxListBox* list = probe().Parts().list2;
  testing::ChooseRow(list, 0);
  ExpectPlaysWithSound("北京卫视高清", true);
  testing::ChooseRow(list, 1);
  ExpectPlaysWithSound("广东卫视高清", true);
  list->SetFocus();
  ASSERT_TRUE(WaitFor([&] { return list->HasFocus(); }));
  e2e::Shell("xdotool key BackSpace");
  ExpectPlaysWithSound("北京卫视高清", true);
  e2e::Shell("xdotool key BackSpace");
  ExpectPlaysWithSound("广东卫视高清", true);

  RememberWindow();
  e2e::Shell("xdotool key F11");
  ASSERT_TRUE(WaitFor([&] { return Fullscreen() && CoversScreen(); }, 10000)) << NetWmState();
  e2e::Shell("xdotool key Down");
  ExpectPlaysWithSound("江苏卫视高清", true);
  e2e::Shell("xdotool key minus minus");
  const auto page_says = [&](std::u16string_view text) {
    return testing::Shows(probe().WebBrowser1(), text, 5000);
  };
  EXPECT_TRUE(page_says(u"音量 80%"));
  e2e::Shell("xdotool key BackSpace");
  ExpectPlaysWithSound("广东卫视高清", true);
  EXPECT_TRUE(page_says(u"音量 80%"));

  // A key typed into a field of the page stays the page's.
  probe().WebBrowser1().Navigate(
      u"data:text/html,<input style='width:95vw;height:90vh' "
      u"oninput='o.textContent=\"typed \"+this.value'><p id=o>field</p>");
  ASSERT_TRUE(page_says(u"field"));
  testing::ClickOnScreen(wxPoint(0, 0) + wxGetDisplaySize() / 2);
  ASSERT_TRUE(WaitFor([&] { return probe().WebBrowser1().TypingInPage(); }));
  e2e::Shell("xdotool type m");
  EXPECT_TRUE(page_says(u"typed m"));
  EXPECT_FALSE(probe().Viewer().Choices().muted);
  e2e::Shell("xdotool key F11");
  EXPECT_TRUE(WaitFor([&] { return Restored(); }, 10000));
  EXPECT_EQ(list->GetSelection(), 1);
}

// With a proxy set, the client's requests and the pages go through it: the service's hosts here
// exist only for the proxy. A proxy that stops answering gives the network notice.
TEST(ProxyTest, ListRequestsAndPagesGoThroughTheProxy) {
  testing::LoopbackServer proxy;
  proxy.http().Get(".*", [](const httplib::Request& request, httplib::Response& response) {
    if (request.path.find("/user/jiemubiao.asp") != std::string::npos) {
      response.set_content(EncodeGbk(u"代理卫视\r\nhttp://live.talvo.example/proxied.html"),
                           "text/plain; charset=gb2312");
    } else {
      response.set_content("<html><body><p>经由代理 " + request.path + "</p></body></html>",
                           "text/html; charset=utf-8");
    }
  });
  proxy.Start();
  const std::string address = "http://" + proxy.HostPort();
  // The fetch limits and the window are given back however the test ends: later tests use both.
  struct Restored {
    FetchLimits limits = CurrentFetchLimits();
    Form1* form = nullptr;
    ~Restored() {
      if (form != nullptr) testing::DestroyAndWait(form);
      SetFetchLimits(limits);
    }
  } restored;
  FetchLimits limits = restored.limits;
  limits.proxy = address;
  SetFetchLimits(limits);
  SetFetchesEnabled(true);
  Form1Options options;
  options.config.proxy = address;
  options.app_folder = e2e::NewWorkDir("proxy");
  auto* form = restored.form = new Form1(options);
  form->Form_Load();
  form->Show();
  BrowserView& playback = Probe(*form).WebBrowser1();
  EXPECT_TRUE(testing::Shows(playback, u"经由代理", 10000)) << "the download page";
  wxListBox* list = Probe(*form).Parts().list2;
  ASSERT_EQ(list->GetCount(), 7u);
  const std::vector<std::string> targets = proxy.Targets();
  const auto asked = [&](const std::string& url) {
    return std::any_of(targets.begin(), targets.end(),
                       [&](const std::string& target) { return target.starts_with(url); });
  };
  EXPECT_TRUE(asked("http://tv.talvo.example/user/jiemubiao.asp"));
  EXPECT_TRUE(asked("http://user.talvo.example/user/Download.asp"));
  testing::ChooseRow(list, 6);
  EXPECT_TRUE(testing::Shows(playback, u"经由代理 http://live.talvo.example/proxied.html", 10000));

  proxy.Stop();
  testing::ChooseRow(list, 0);
  EXPECT_TRUE(testing::Shows(playback, u"网络恢复后将自动重新载入", 10000));
}

// 小窗 from the menu bar's entry and from F9: the picture alone fills a small window above the
// others while the page plays on, never loaded again; F9, Esc and a double click on the picture
// give back the window as it was, and the small window opens again where it was left.
TEST_F(PlaybackTest, TheSmallWindowShowsThePictureAloneAboveTheOthersAndGivesTheWindowBack) {
  testing::ChooseRow(probe().Parts().list2, 0);
  ExpectPlaysWithSound("北京卫视高清", true);
  RememberWindow();
  const std::int16_t mode = probe().ViewMode();
  const std::string page = Utf16ToUtf8(probe().Viewer().Choices().played->address);
  const std::string path = page.substr(page.find('/', page.find("//") + 2));
  const auto small = [&] {
    const wxRect picture = probe().WebBrowser1().Window()->GetScreenRect();
    return testing::KeptAbove(form_) && form_->GetSize().x < window_.width &&
           picture.GetSize() == form_->GetClientSize() &&
           picture.GetPosition() == form_->ClientToScreen(wxPoint(0, 0));
  };
  const auto Rect = [](const wxRect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
  };
  const auto key = [](const char* name) { e2e::Shell(std::string("xdotool key ") + name); };
  wxPoint moved_to;
  const struct {
    const char* way_in;
    std::function<void()> enter;
    const char* way_out;
    std::function<void()> leave;
  } ways[] = {
      {"the menu bar", [&] { testing::ClickMenuEntry(*form_, kXiaochuang); }, "F9",
       [&] { key("F9"); }},
      {"F9", [&] { key("F9"); }, "Esc", [&] { key("Escape"); }},
      {"F9", [&] { key("F9"); }, "a double click",
       [&] {
         const wxRect picture = probe().WebBrowser1().Window()->GetScreenRect();
         e2e::Shell("xdotool mousemove " + std::to_string(picture.x + picture.width / 2) + " " +
                    std::to_string(picture.y + picture.height / 2) + " click --repeat 2 1");
       }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(std::string("in by ") + way.way_in + ", out by " + way.way_out);
    way.enter();
    ASSERT_TRUE(WaitFor("the small window", small, 10000))
        << NetWmState() << " window " << Rect(form_->GetScreenRect()) << " client at "
        << Rect(wxRect(form_->ClientToScreen(wxPoint(0, 0)), form_->GetClientSize())) << " picture "
        << Rect(probe().WebBrowser1().Window()->GetScreenRect());
    for (wxWindow* hidden :
         {static_cast<wxWindow*>(probe().Parts().list2), probe().WebBrowser2().Window(),
          static_cast<wxWindow*>(form_->GetMenuBar())}) {
      EXPECT_FALSE(hidden->IsShown()) << hidden->GetName();
    }
    if (moved_to == wxPoint()) {
      testing::SaveScreenshot("small-window");
      moved_to = form_->GetPosition() - wxPoint(200, 150);
      form_->Move(moved_to);
      EXPECT_TRUE(WaitFor([&] { return form_->GetPosition() == moved_to; }, 5000));
    } else {
      EXPECT_EQ(form_->GetPosition(), moved_to) << "the small window opened elsewhere";
    }
    // Its frames go on (the clip is short: its time starts again where it loops).
    const int frames = ReadPlayer(probe().WebBrowser1(), "北京卫视高清").frames;
    EXPECT_TRUE(WaitFor(
        "the picture to go on",
        [&] { return ReadPlayer(probe().WebBrowser1(), "北京卫视高清").frames > frames + 25; },
        10000));
    if (way.way_out == std::string("a double click")) {
      key("F11");
      ASSERT_TRUE(WaitFor([&] { return Fullscreen() && CoversScreen(); }, 10000)) << NetWmState();
      key("F11");
      ASSERT_TRUE(WaitFor(
          "fullscreen to give the small window back",
          [&] { return !Fullscreen() && small() && !form_->GetMenuBar()->IsShown(); }, 10000));
    }
    way.leave();
    ASSERT_TRUE(WaitFor(
        "the window as it was",
        [&] { return Restored() && !testing::KeptAbove(form_) && form_->GetMenuBar()->IsShown(); },
        10000))
        << NetWmState();
    EXPECT_EQ(probe().ViewMode(), mode);
    EXPECT_TRUE(probe().Parts().list2->IsShown());
  }
  EXPECT_EQ(service_->RequestsFor(path).size(), 1u) << path << " loaded again";
  // A channel's letters find it in the small window too.
  key("F9");
  ASSERT_TRUE(WaitFor("the small window", small, 10000));
  e2e::Shell("xdotool type gdws");
  key("Return");
  ExpectPlaysWithSound("广东卫视高清", true);
  EXPECT_TRUE(small());
  key("Escape");
  EXPECT_TRUE(WaitFor(
      "the window as it was", [&] { return Restored(); }, 10000));
}

}  // namespace
}  // namespace talvo
