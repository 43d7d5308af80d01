// 投屏 end to end: the client on the real engine, the demo service, and a real DLNA renderer
// (gmediarender, headless) on a home network of the test's own. The test runs only inside the
// network namespace tests/cast/home_network.sh makes (CMake starts it under `unshare -n`): it
// refuses to run where any interface but lo, cast0 and cast1 exists, so its search never reaches
// the machine's real network.
#include <gtest/gtest.h>
#include <net/if.h>
#include <wx/listbox.h>

#include <cstdlib>
#include <set>

#include "core/utf.h"
#include "mainwindow/cast_menu_ui.h"
#include "platform/wx_text.h"
#include "tests/support/client_harness.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/form1_fixture.h"

namespace talvo {
namespace {

// The interfaces of this namespace; the test's own network has these and no other.
std::set<std::string> Interfaces() {
  std::set<std::string> names;
  struct if_nameindex* list = if_nameindex();
  for (const struct if_nameindex* each = list; each != nullptr && each->if_index != 0; ++each) {
    names.insert(each->if_name);
  }
  if_freenameindex(list);
  return names;
}

class CastE2E : public testing::EngineFixture {
 protected:
  void SetUp() override {
    const std::set<std::string> own = {"lo", "cast0", "cast1"};
    ASSERT_TRUE(std::getenv("TALVO_HOME_NETWORK") != nullptr && Interfaces() == own)
        << "run under unshare -n tests/cast/home_network.sh: the search must stay off the "
           "machine's real network";
    EngineFixture::SetUp();
    work_ = e2e::NewWorkDir("cast");
    service_ = std::make_unique<e2e::DemoService>(work_);
    // libupnp takes no Chinese friendly name: the TV has an English one.
    renderer_ = std::make_unique<e2e::Process>(
        std::vector<std::string>{"/usr/bin/gmediarender", "-f", "Living Room TV", "-I", "cast1",
                                 "--gstout-audiosink", "fakesink", "--gstout-videosink",
                                 "fakesink"},
        std::map<std::string, std::string>{{"LC_ALL", "C.UTF-8"}}, work_ / "renderer.out",
        work_ / "renderer.err");
    StartOnTheEngine(service_->HostPort(), work_, std::chrono::milliseconds(300));
  }
  void TearDown() override {
    EngineFixture::TearDown();
    renderer_.reset();
  }

  CastMenu& cast() { return probe().Cast(); }

  // Chosen, until its view tells what it plays (`sent`, a part of the address a TV is sent): a
  // report of the page before may come in late.
  void Play(const char* station, const char* sent, bool channel = false) {
    wxListBox* list = channel ? probe().Parts().list2 : probe().Parts().list1;
    ASSERT_TRUE(WaitFor([&] { return list->FindString(ToWx(Utf8ToUtf16(station))) >= 0; }, 10000))
        << station;
    testing::ChooseRow(list, list->FindString(ToWx(Utf8ToUtf16(station))));
    ASSERT_TRUE(WaitFor(
        [&] {
          const std::optional<CastSource> source = CastSourceOf(probe().WebBrowser1().Media());
          return source && source->address.find(sent) != std::string::npos;
        },
        20000))
        << station << " never played";
  }
  // The requests of the renderer's player (GStreamer's), not the page engine's, for `path`;
  // `ended` for the ends of its fetches.
  std::size_t RendererRequests(const std::string& path, bool ended = false) {
    std::size_t count = 0;
    for (const e2e::Request& request : service_->RequestsFor(path)) {
      if (request.agent == "GStreamer" && (request.method == "END") == ended) ++count;
    }
    return count;
  }

  std::filesystem::path work_;
  std::unique_ptr<e2e::DemoService> service_;
  std::unique_ptr<e2e::Process> renderer_;
};

TEST_F(CastE2E, TheTvIsFoundByNamePlaysTheStationFollowsTheChannelStopsAndTakesAPlayersPlaylist) {
  // Searched again until the TV answers: it announces itself a moment after it starts.
  ASSERT_TRUE(WaitFor(
      [&] {
        if (cast().Found().empty()) cast().Search();
        return !cast().Found().empty();
      },
      20000));
  ASSERT_EQ(cast().Found().size(), 1u) << "one TV, seen from each network, is one entry";
  EXPECT_EQ(cast().Found()[0].name, "Living Room TV");
  EXPECT_FALSE(cast().Found()[0].rendering_control.empty());

  Play("环球音乐广播", "/stream/hqyy.mp3");
  cast().CastTo(cast().Found()[0]);
  ASSERT_TRUE(WaitFor([&] { return cast().Casting().has_value(); }, 15000));
  EXPECT_TRUE(WaitFor([&] { return RendererRequests("/stream/hqyy.mp3") > 0; }, 20000))
      << "the TV never fetched the station";

  Play("都市流行广播", "/stream/dslx.aac");
  EXPECT_TRUE(WaitFor([&] { return RendererRequests("/stream/dslx.aac") > 0; }, 20000))
      << "the TV never fetched the new station";
  EXPECT_TRUE(WaitFor([&] { return RendererRequests("/stream/hqyy.mp3", true) > 0; }, 20000))
      << "the TV kept fetching the station before";

  cast().StopCasting();
  EXPECT_TRUE(WaitFor([&] { return RendererRequests("/stream/dslx.aac", true) > 0; }, 20000))
      << "the TV kept fetching after 停止投屏";

  // A live channel whose script player feeds the element itself: the TV gets its playlist.
  Play("新闻直播卫视", "/media/live/live.m3u8", true);
  EXPECT_TRUE(probe().WebBrowser1().Media().element_source.starts_with("blob:"));
  cast().CastTo(cast().Found()[0]);
  EXPECT_TRUE(WaitFor([&] { return RendererRequests("/media/live/live.m3u8") > 0; }, 20000))
      << "the TV never fetched the player's playlist";
  cast().StopCasting();
}

}  // namespace
}  // namespace talvo
