// Real playback with the real engine against the demo service: a channel's H.264/AAC video, the
// Media Source channel and a station's MP3 play with sound and without a click; an undecodable
// stream shows the page's own error; fullscreen from the player's button and from F11, and back.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <wx/listbox.h>

#include <regex>

#include "core/fetcher.h"
#include "core/utf.h"
#include "mainwindow/form1.h"
#include "mainwindow/fullscreen_ui.h"
#include "platform/wx_text.h"
#include "tests/e2e/harness.h"
#include "tests/gui/form1_options.h"
#include "tests/gui/gui_test.h"

namespace talvo {
namespace {

using testing::WaitFor;

// What the demo's player pages show: "播放中 t=1.24 w=640 有声".
struct PlayerState {
  bool playing = false;
  double time = 0;
  int width = -1;
  bool audible = false;
  bool failed = false;
};

PlayerState ReadPlayer(BrowserView& view, const std::string& name) {
  const std::string text = Utf16ToUtf8(view.BodyText());
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
  return state;
}

class PlaybackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFetchesEnabled(true);
    work_ = e2e::NewWorkDir("playback");
    service_ = std::make_unique<e2e::DemoService>(work_);
    const std::u16string host = Utf8ToUtf16(service_->HostPort());
    options_.config.primary_host = options_.config.tv_host = options_.config.channel_host = host;
    options_.app_folder = work_;
    options_.station_timer = std::chrono::milliseconds(300);
    form_ = new Form1(options_);
    form_->Form_Load();
    form_->Show();
    ASSERT_TRUE(WaitFor([&] { return form_->IsActive(); }));
  }

  void TearDown() override {
    if (form_) testing::DestroyAndWait(form_);
  }

  // The page named `name` plays, audibly, for more than a second of its own time: the picture
  // (or the sound) advances.
  void ExpectPlaysWithSound(const std::string& name, bool video) {
    PlayerState state;
    EXPECT_TRUE(WaitFor([&] {
      state = ReadPlayer(form_->WebBrowser1(), name);
      return state.playing && state.time > 1.0;
    }, 20000)) << Utf16ToUtf8(form_->WebBrowser1().BodyText());
    EXPECT_TRUE(state.audible);
    if (video) {
      EXPECT_EQ(state.width, 640);
    }
  }

  std::string NetWmState() { return testing::WindowProperty(form_, "_NET_WM_STATE"); }

  std::filesystem::path work_;
  std::unique_ptr<e2e::DemoService> service_;
  Form1Options options_;
  Form1* form_ = nullptr;
};

TEST_F(PlaybackTest, ChannelsPlayTheirVideoWithSoundUnclicked) {
  testing::ChooseRow(form_->Parts().list2, 0);  // H.264/AAC in <video>
  ExpectPlaysWithSound("北京卫视高清", true);
  testing::SaveScreenshot("playback-channel");
  testing::ChooseRow(form_->Parts().list2, 1);  // fragmented MP4 through Media Source
  ExpectPlaysWithSound("广东卫视高清", true);
  EXPECT_FALSE(service_->RequestsFor("/media/mse/seg1.m4s").empty());
}

TEST_F(PlaybackTest, StationsPlayTheirAudioWithSoundUnclicked) {
  wxListBox* stations = form_->Parts().list1;
  ASSERT_TRUE(WaitFor([&] { return stations->GetCount() > 0; }, 10000));
  testing::ChooseRow(stations, 2);
  ExpectPlaysWithSound("音乐之声广播", false);
}

TEST_F(PlaybackTest, AStreamThatCannotBeDecodedShowsThePagesErrorAndTheWindowStaysResponsive) {
  form_->WebBrowser1().Navigate(Utf8ToUtf16("http://" + service_->HostPort() + "/usbtv/broken.html"));
  EXPECT_TRUE(WaitFor([&] { return ReadPlayer(form_->WebBrowser1(), "broken").failed; }, 20000))
      << Utf16ToUtf8(form_->WebBrowser1().BodyText());
  testing::ChooseRow(form_->Parts().list2, 0);
  ExpectPlaysWithSound("北京卫视高清", true);
}

TEST_F(PlaybackTest, FullscreenFromThePlayersButtonAndFromF11ComesBackToTheSameWindow) {
  testing::ChooseRow(form_->Parts().list2, 0);
  ExpectPlaysWithSound("北京卫视高清", true);
  const wxRect window = form_->GetScreenRect();
  const wxRect playback = form_->WebBrowser1().Window()->GetScreenRect();
  const std::int16_t mode = form_->ViewMode();
  const wxSize screen = wxGetDisplaySize();
  const auto fullscreen = [&] { return NetWmState().find("_NET_WM_STATE_FULLSCREEN") != std::string::npos; };
  const auto covers_screen = [&] { return form_->WebBrowser1().Window()->GetScreenRect() == wxRect(wxPoint(0, 0), screen); };
  const auto restored = [&] {
    return !fullscreen() && form_->GetScreenRect() == window &&
           form_->WebBrowser1().Window()->GetScreenRect() == playback;
  };

  // A real click on the player's own button, at the right end of the page's bottom bar.
  const wxPoint button(playback.GetRight() - 24, playback.GetBottom() - 14);
  e2e::Shell("xdotool mousemove " + std::to_string(button.x) + " " + std::to_string(button.y) +
             " click 1");
  ASSERT_TRUE(WaitFor([&] { return fullscreen() && covers_screen(); }, 10000)) << NetWmState();
  testing::SaveScreenshot("playback-fullscreen");
  e2e::Shell("xdotool key Escape");
  EXPECT_TRUE(WaitFor(restored, 10000)) << "the page's fullscreen did not return to the window";
  EXPECT_EQ(form_->ViewMode(), mode);
  EXPECT_TRUE(form_->Parts().list2->IsShown());

  e2e::Shell("xdotool key F11");
  ASSERT_TRUE(WaitFor([&] { return fullscreen() && covers_screen(); }, 10000)) << NetWmState();
  EXPECT_FALSE(form_->Parts().list2->IsShown());
  e2e::Shell("xdotool key F11");
  EXPECT_TRUE(WaitFor(restored, 10000)) << "F11 did not return to the window";
  EXPECT_TRUE(form_->Parts().list2->IsShown());
}

}  // namespace
}  // namespace talvo
