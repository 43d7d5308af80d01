// The service goes away and comes back on the same port, with the real engine and the demo
// service: the views show a notice of the client's own meanwhile, and a start that missed the
// service, or a page that lost it, comes back without a click.
#include <gtest/gtest.h>
#include <wx/listbox.h>

#include <chrono>
#include <memory>
#include <sstream>

#include "core/credential_file.h"
#include "core/debug_trace.h"
#include "core/fetcher.h"
#include "core/utf.h"
#include "platform/wx_text.h"
#include "tests/gui/gui_test.h"
#include "tests/support/client_harness.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/form1_fixture.h"
#include "tests/support/loopback_server.h"

namespace talvo {
namespace {

using namespace std::chrono_literals;

using testing::Shows;
using ServiceReturnTest = testing::EngineFixture;

TEST_F(ServiceReturnTest, AStartThatMissedTheServiceAndAPageThatLostItComeBackByThemselves) {
  const auto work = e2e::NewWorkDir("service-return");
  const int port = testing::UnusedPort();
  const std::vector<std::string> same_port{"--port", std::to_string(port)};
  WriteCredentialFile(work, u"demo_vip", u"vip888");
  Form1& form = StartOnTheEngine("127.0.0.1:" + std::to_string(port), work, 1s);
  const testing::Form1Probe probe = Probe(form);
  BrowserView& playback = probe.WebBrowser1();

  // Down: the guest's title, the built-ins alone, and a notice in Chinese where the download
  // page would be.
  ASSERT_TRUE(Shows(playback, u"无法连接到服务器", 10000));
  const std::u16string notice = testing::ReadText(playback);
  for (const std::u16string& part : {std::u16string(u"网络恢复后将自动重新载入"),
                                     Utf8ToUtf16("127.0.0.1:" + std::to_string(port))}) {
    EXPECT_NE(notice.find(part), std::u16string::npos) << Utf16ToUtf8(notice);
  }
  EXPECT_GT(notice.rfind(u"重新载入"), notice.find(u"自动重新载入") + 2) << "no 重新载入 button";
  EXPECT_EQ(notice.find(u"Could not"), std::u16string::npos) << "the engine's own words";
  ASSERT_TRUE(WaitFor("the station tick", [&] { return !probe.Timer1().IsRunning(); }));
  EXPECT_EQ(FromWx(form.GetTitle()).find(u"账号"), std::u16string::npos);
  EXPECT_EQ(probe.Parts().list2->GetCount(), 6u);
  EXPECT_EQ(probe.Parts().list1->GetCount(), 0u);
  testing::SaveScreenshot("service-down");

  // Back: everything a start with the service up gives, each list fetched once.
  auto service = std::make_unique<e2e::DemoService>(work, same_port);
  const auto signed_in = [&] { return form.GetTitle().Contains(L"账号：demo_vip VIP用户"); };
  EXPECT_TRUE(WaitFor(signed_in, 20000)) << form.GetTitle();
  EXPECT_TRUE(WaitFor([&] { return probe.Parts().list2->GetCount() > 6; }, 20000));
  EXPECT_TRUE(WaitFor([&] { return probe.Parts().list1->GetCount() > 0; }, 20000));
  EXPECT_TRUE(WaitFor([&] { return !probe.Menus().Caption(kN1).empty(); }, 20000));
  EXPECT_TRUE(Shows(playback, u"下载中心", 20000));
  // The VIP form: the service strip out of sight below the playback view.
  EXPECT_GT(probe.WebBrowser2().Top(), playback.Top() + playback.Height());
  for (const char* path : {"/user/denglu.asp", "/user/jiemubiao.asp", "/user/diantaibiao.asp"}) {
    EXPECT_EQ(service->RequestsFor(path).size(), 1u) << path;
  }
  testing::SaveScreenshot("service-back");

  // A channel chosen while the service is away: the notice; the service back when the backoff's
  // next try is 8 s off, and the page asked for again within 5 s of it all the same (the desktop's
  // network never changed).
  const auto path_of = [&](int row) {
    const std::u16string& url = probe.Channels().Urls().At(static_cast<std::size_t>(row));
    return Utf16ToUtf8(url.substr(url.find(u"/usbtv/")));
  };
  testing::ChooseRow(probe.Parts().list2, 1);
  ASSERT_TRUE(Shows(playback, u"播放中", 20000));
  service.reset();
  // Its tries are counted from the log, one line each that failed.
  SetTraceLog(work / "talvo.log");
  const auto failed_tries = [&] {
    std::istringstream log(testing::FileBytes(work / "talvo.log"));
    int failed = 0;
    for (std::string line; std::getline(log, line);) {
      if (line.find(path_of(2)) != line.npos && line.find("the notice is shown") != line.npos) {
        ++failed;
      }
    }
    return failed;
  };
  testing::ChooseRow(probe.Parts().list2, 2);
  ASSERT_TRUE(Shows(playback, u"无法连接到服务器", 10000));
  // The first try, then two more 2 and 4 s apart: the next is 8 s off.
  EXPECT_TRUE(WaitFor(
      "three failed tries", [&] { return failed_tries() == 3; }, 10000));
  SetTraceLog({});
  service = std::make_unique<e2e::DemoService>(work, same_port);
  const auto back = std::chrono::steady_clock::now();
  EXPECT_TRUE(WaitFor([&] { return !service->RequestsFor(path_of(2)).empty(); }, 5000));
  std::printf("the channel was asked for %lld ms after the service was back\n",
              static_cast<long long>((std::chrono::steady_clock::now() - back) / 1ms));
  EXPECT_TRUE(Shows(playback, u"播放中", 5000 * testing::kInstrumentedSlowdown));

  // A server that takes the connection and never answers: the load given up at its bound, the
  // notice, and the page asked for again.
  service.reset();
  std::vector<std::string> hanging = same_port;
  hanging.insert(hanging.end(), {"--fail", path_of(3) + "=hang"});
  service = std::make_unique<e2e::DemoService>(work, hanging);
  testing::ChooseRow(probe.Parts().list2, 3);
  EXPECT_TRUE(Shows(playback, u"页面没有响应", (15 + 5) * 1000 * testing::kInstrumentedSlowdown));
  EXPECT_TRUE(WaitFor([&] { return service->RequestsFor(path_of(3)).size() >= 2; }, 10000));
}

}  // namespace
}  // namespace talvo
