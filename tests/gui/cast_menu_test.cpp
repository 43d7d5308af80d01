// 投屏 on the main window with a TV of the test's own, a renderer's control points on loopback
// (one that does what it is told, refuses, or goes away), and the recording playback view. The
// search and a real renderer are tested on a network of their own (tests/cast).
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <regex>

#include "mainwindow/cast_menu_ui.h"
#include "tests/gui/gui_test.h"
#include "tests/support/form1_fixture.h"

namespace talvo {
namespace {

class CastMenuTest : public testing::Form1Fixture {
 protected:
  void SetUp() override {
    Form1Fixture::SetUp();
    tv_set_.http().Post(
        R"(/ctl/(\w+))", [this](const httplib::Request& request, httplib::Response& response) {
          // "urn:schemas-upnp-org:service:AVTransport:1#Play", quotes included
          const std::string action = request.get_header_value("SOAPACTION");
          const std::size_t name = action.find('#') + 1;
          std::lock_guard lock(mutex_);
          said_.push_back(action.substr(name, action.rfind('"') - name) + " " + request.body);
          if (refuse_) {
            response.status = 500;
            response.set_content(
                "<s:Envelope><s:Body><s:Fault><detail><UPnPError><errorCode>714</errorCode>"
                "</UPnPError></detail></s:Fault></s:Body></s:Envelope>",
                "text/xml");
            return;
          }
          response.set_content(
              "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>"
              "<u:Response xmlns:u=\"urn:x\"></u:Response></s:Body></s:Envelope>",
              "text/xml");
        });
    tv_set_.Start();
    StartService();
    Start();
  }
  void TearDown() override {
    tv_set_.Stop();
    Form1Fixture::TearDown();
  }

  Renderer Tv() const {
    return {"uuid:tv", "客厅电视", tv_set_.Url("/ctl/AVTransport"),
            tv_set_.Url("/ctl/RenderingControl")};
  }
  CastMenu& cast() { return probe().Cast(); }
  RecordingBrowser& view() { return testing::Recording(probe().WebBrowser1()); }
  // Whether the TV was asked `action` with an argument matching `argument`.
  bool Said(const std::string& action, const std::string& argument = "") {
    std::lock_guard lock(mutex_);
    for (const std::string& said : said_) {
      if (said.starts_with(action + " ") && std::regex_search(said, std::regex(argument))) {
        return true;
      }
    }
    return false;
  }
  bool Told(std::u16string_view words) {
    return testing::WaitFor([&] { return probe().Notice().Shown() == words; }, 10000);
  }

  testing::LoopbackServer tv_set_;
  std::mutex mutex_;
  std::vector<std::string> said_;
  std::atomic<bool> refuse_ = false;
};

TEST_F(CastMenuTest, TheTvPlaysWhatTheViewPlaysFollowsTheVolumeAndStopsWithTheSleepTimer) {
  view().Plays({"http://h/stream/hqyy.mp3?a=1&b=2", false, {}});
  cast().CastTo(Tv());
  ASSERT_TRUE(testing::WaitFor([&] { return cast().Casting().has_value(); }, 10000));
  EXPECT_TRUE(Said("SetAVTransportURI", "<CurrentURI>http://h/stream/hqyy.mp3\\?a=1&amp;b=2<"));
  EXPECT_TRUE(Said("Play", "<Speed>1</Speed>"));
  EXPECT_TRUE(view().Muted());
  EXPECT_EQ(view().CastLine(), u"正在投屏到 客厅电视");
  EXPECT_EQ(probe().Menus().Caption(kTouping), u"投屏中");

  // The volume keys reach the TV; the view stays muted.
  const int volume = probe().Viewer().Choices().volume;
  probe().Viewer().StepVolume(-1);
  const int lower = probe().Viewer().Choices().volume;
  ASSERT_LT(lower, volume);
  EXPECT_TRUE(testing::WaitFor(
      [&] { return Said("SetVolume", "<DesiredVolume>" + std::to_string(lower) + "<"); }, 10000));
  EXPECT_TRUE(view().Muted());

  cast().StopCasting();
  EXPECT_TRUE(testing::WaitFor([&] { return Said("Stop"); }, 10000));
  std::lock_guard<std::mutex>{mutex_}, said_.clear();  // the lock held to the end of the line
  EXPECT_FALSE(cast().Casting().has_value());
  EXPECT_FALSE(view().Muted());
  EXPECT_EQ(view().Volume(), lower);
  EXPECT_EQ(view().CastLine(), u"");
  EXPECT_EQ(probe().Menus().Caption(kTouping), u"投屏");

  // The sleep timer's end stops the TV as well.
  cast().CastTo(Tv());
  ASSERT_TRUE(testing::WaitFor([&] { return cast().Casting().has_value(); }, 10000));
  probe().Viewer().PlaybackStopped();
  EXPECT_FALSE(cast().Casting().has_value());
  EXPECT_TRUE(testing::WaitFor([&] { return Said("Stop"); }, 10000));
}

// Each trouble a short word on the window, the view's sound and picture as they were.
TEST_F(CastMenuTest, ATvThatRefusesGoesOrNeverAnswersIsToldAndNothingHangs) {
  view().Plays({"http://h/live/live.m3u8", true, {}});
  refuse_ = true;
  cast().CastTo(Tv());
  EXPECT_TRUE(Told(u"客厅电视 拒绝了投屏"));
  EXPECT_FALSE(cast().Casting().has_value());
  EXPECT_FALSE(view().Muted());

  Renderer nobody = Tv();
  nobody.av_transport = "http://127.0.0.1:" + std::to_string(testing::UnusedPort()) + "/ctl";
  cast().CastTo(nobody);
  EXPECT_TRUE(Told(u"客厅电视 没有应答，无法投屏"));

  refuse_ = false;
  cast().CastTo(Tv());
  ASSERT_TRUE(testing::WaitFor([&] { return cast().Casting().has_value(); }, 10000));
  tv_set_.Stop();  // gone from the network mid-cast: the next check finds no one
  EXPECT_TRUE(Told(u"客厅电视 已断开，投屏结束"));
  EXPECT_FALSE(cast().Casting().has_value());
  EXPECT_FALSE(view().Muted());
  EXPECT_EQ(view().CastLine(), u"");

  // A page whose player hands on nothing a TV can fetch.
  view().Plays({"blob:http://h/1", true, {"http://h/live/seg1.ts"}});
  EXPECT_EQ(cast().Entries().front().label, kNotCastable);
  cast().CastTo(Tv());
  EXPECT_TRUE(Told(kNotCastable));
}

}  // namespace
}  // namespace talvo
