// A service that misbehaves in every way we know of, at start-up: each case has its defined
// outcome, start-up ends within the configured limits, and no address other than http(s) from
// a reply is ever opened.
#include <gtest/gtest.h>
#include <wx/display.h>
#include <wx/listbox.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "core/charset.h"
#include "core/credential_file.h"
#include "core/fetcher.h"
#include "core/service_address.h"
#include "core/utf.h"
#include "mainwindow/bulletin_menu_ui.h"
#include "mainwindow/page_list_ui.h"
#include "tests/gui/gui_test.h"
#include "tests/support/form1_fixture.h"
#include "tests/support/form1_probe.h"
#include "tests/support/loopback_server.h"
#include "tests/support/recording_browser.h"

namespace talvo {
namespace {

using namespace std::chrono_literals;
using Reply = std::function<void(httplib::Response&)>;

std::string Gbk(const std::u16string& text) { return EncodeGbk(text); }

Reply Body(std::string bytes, int status = 200) {
  return [bytes = std::move(bytes), status](httplib::Response& res) {
    res.status = status;
    res.set_content(bytes, "text/plain; charset=gb2312");
  };
}

struct Case {
  const char* name;
  Reply programme_list;
  std::size_t programme_entries;  // after the six built-ins
};

class HostileServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFetchesEnabled(true);
    limits_ = CurrentFetchLimits();
    FetchLimits quick = limits_;
    quick.connect = 1000ms;
    quick.total = 1500ms;
    SetFetchLimits(quick);
    server_.http().Get("/user/jiemubiao.asp",
                       [this](const httplib::Request&, httplib::Response& res) { reply_(res); });
    server_.Serve("/user/denglu.asp", std::string(3, '\0') + "VIP用户" + std::string(5, '\xff'),
                  "text/plain");
    server_.Start();
  }
  void TearDown() override {
    stopping_ = true;
    SetFetchLimits(limits_);
  }

  Reply reply_;
  std::atomic<bool> stopping_{false};
  FetchLimits limits_;
  // Declared after what their handlers read: destroyed first, so no handler outlives it.
  LoopbackServer server_;
};

TEST_F(HostileServiceTest, EveryMisbehaviourHasItsOutcomeAndStartUpEnds) {
  std::u16string many;
  for (int i = 0; i < 100000; ++i)
    many += u"卫视" + std::u16string(1, u'a' + i % 26) + u"\r\nhttp://x/\r\n";
  const Case cases[] = {
      {"HTTP 500 with a list in its body", Body(Gbk(u"卫视A\r\nhttp://x/a\r\n"), 500), 1},
      {"100,000 pairs", Body(Gbk(many)), 100000},
      {"one 8 MiB line", Body(std::string(8 << 20, 'a') + Gbk(u"卫视")), 0},
      {"NUL bytes inside names", Body(Gbk(u"卫视") + std::string("\0\0A\r\nhttp://x/\r\n", 15)), 1},
      {"CR-only line ends", Body(Gbk(u"卫视A\rhttp://x/a\rB\rhttp://x/b\r")), 0},
      {"LF-only line ends", Body(Gbk(u"卫视A\nhttp://x/a\nB\nhttp://x/b\n")), 0},
      // Each invalid byte is one U+FFFD; the rest of the reply still reads.
      {"invalid GBK bytes", Body("\xff\x80" + Gbk(u"卫视A") + "\xff\r\nhttp://x/a\r\n"), 1},
      {"addresses that are not web addresses",
       Body(Gbk(
           u"卫视J\r\njavascript:alert(1)\r\nF\r\nfile:///etc/passwd\r\nD\r\ndata:text/html,x\r\n")),
       3},
      {"a redirect loop", [](httplib::Response& res) { res.set_redirect("/user/jiemubiao.asp"); },
       0},
      {"a redirect to file:",
       [](httplib::Response& res) { res.set_redirect("file:///etc/passwd"); }, 0},
      {"a body over the cap", Body(std::string(17 << 20, 'x')), 0},
      {"never answers",
       [this](httplib::Response& res) {
         const auto until = std::chrono::steady_clock::now() + 4s;
         while (!stopping_ && std::chrono::steady_clock::now() < until)
           std::this_thread::sleep_for(10ms);
         res.set_content("", "text/plain");
       },
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reply_ = c.programme_list;
    const testing::TempFolder folder("hostile");
    Form1Options options = testing::RecordingForm1Options(server_, server_, folder);
    WriteCredentialFile(options.app_folder, u"u", u"p");
    const auto start = std::chrono::steady_clock::now();
    auto* form = new Form1(options);
    form->Form_Load();
    // Login, TV host and primary host: three requests at 1.5 s at the most, and some slack; then
    // the rows, about 4 µs each here (how fast is bench_window's; this bound is against a hang).
    const auto rows = c.programme_entries * 10us * testing::kAllocatingSlowdown;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 7s * testing::kInstrumentedSlowdown + rows);
    EXPECT_EQ(Probe(*form).Parts().list2->GetCount(), 6 + c.programme_entries);
    // Every entry chosen: only http(s) addresses reach the playback view.
    auto& playback = testing::Recording(Probe(*form).WebBrowser1());
    wxListBox* list = Probe(*form).Parts().list2;
    for (unsigned row = 6; row < std::min(list->GetCount(), 10u); ++row) {
      testing::ChooseRow(list, static_cast<int>(row));
    }
    for (const std::u16string& address : playback.Navigations()) {
      EXPECT_TRUE(address == u"about:blank" || IsWebAddress(address)) << Utf16ToUtf8(address);
    }
    testing::DestroyAndWait(form);
  }
}

TEST_F(HostileServiceTest, BulletinBlocksOfAnySizeOrAddressAreSafe) {
  reply_ = Body("");
  const testing::TempFolder folder("hostile");
  Form1Options options = testing::RecordingForm1Options(server_, server_, folder);
  auto* form = new Form1(options);
  form->Form_Load();
  std::u16string block = u"$$$*";
  for (int i = 0; i < 5000; ++i) block += u"标题*javascript:alert(1)*";
  block += u"$$$";
  auto& service = testing::Recording(Probe(*form).WebBrowser2());
  service.FinishLoad(block);
  EXPECT_EQ(Probe(*form).Bulletins().BulletinFields()->size(), 12u);
  service.FinishLoad(u"$$$*A*file:///etc/passwd*B*data:text/html,x*C*http://ok.test/*$$$");
  auto& playback = testing::Recording(Probe(*form).WebBrowser1());
  const std::size_t before = playback.Navigations().size();
  for (int item = 1; item <= 3; ++item) Probe(*form).Bulletins().Clicked(item);
  ASSERT_EQ(playback.Navigations().size(), before + 1) << "only the web address is opened";
  EXPECT_EQ(playback.Navigations().back(), u"http://ok.test/");

  // Captions of any length, lines or direction: one line each, the number first, and a window
  // that stays on the screen.
  form->Show();
  const wxRect screen =
      wxDisplay(static_cast<unsigned>(std::max(wxDisplay::GetFromWindow(form), 0))).GetClientArea();
  const int height = form->GetSize().y;
  std::u16string captions = u"$$$*";
  captions += std::u16string(10000, u'长') + u"*http://x/1*";
  for (int i = 0; i < 60; ++i) captions += u"第" + std::u16string(1, u'0' + i % 10) + u"行\r\n";
  captions += u"*http://x/2*\u202E反向*http://x/3*";
  for (int item = 4; item <= 6; ++item) captions += std::u16string(120, u'宽') + u"*http://x/*";
  service.FinishLoad(captions + u"$$$");
  for (int item = 1; item <= 6; ++item) {
    const std::u16string caption = Probe(*form).Menus().Caption(kN1 + item - 1);
    EXPECT_EQ(caption.substr(0, 2), std::u16string(1, u'0' + item) + u".") << item;
    EXPECT_EQ(caption.find_first_of(u"\r\n\u202E"), std::u16string::npos) << item;
  }
  EXPECT_TRUE(testing::WaitFor([&] { return form->GetSize().x <= screen.width; }))
      << "the bar made the window " << form->GetSize().x << " px wide";
  EXPECT_EQ(form->GetSize().y, height);
  testing::DestroyAndWait(form);
}

}  // namespace
}  // namespace talvo
