// Pages that ask for a new window, with the real engine and real clicks: a web address opens in
// the same view, other schemes open nothing, and a page cannot open one without a click.
#include <gtest/gtest.h>
#include <wx/frame.h>

#include <algorithm>

#include "core/fetcher.h"
#include "core/utf.h"
#include "platform/web/webview_browser.h"
#include "tests/gui/gui_test.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/loopback_server.h"

namespace talvo {
namespace {

using testing::WaitFor;

// Three red strips on the left ask for windows the view must refuse; the green half on the right
// is a link to a new window. Opening a window when the page loads needs no click: refused too.
constexpr const char* kStartPage = R"(<html><body style="margin:0;font:20px sans-serif">
<script>window.open('/popup-without-click');</script>
<div id="file" style="position:fixed;left:0;top:0;width:50%;height:33%;background:#a00"
 onclick="window.open('file:///etc/hostname');this.textContent='asked file'">file</div>
<div id="data" style="position:fixed;left:0;top:33%;width:50%;height:33%;background:#b00"
 onclick="window.open('data:text/html,data page');this.textContent='asked data'">data</div>
<div id="js" style="position:fixed;left:0;top:66%;width:50%;height:34%;background:#c00"
 onclick="window.open('javascript:document.write(1)');this.textContent='asked script'">js</div>
<a href="/opened" target="_blank" style="position:fixed;left:50%;top:0;width:50%;height:100%;
 display:block;background:#0a0">new window</a></body></html>)";

using NewWindowTest = testing::EngineFixture;

TEST_F(NewWindowTest, AWebAddressOpensInTheSameViewAndNothingElseOpens) {
  testing::LoopbackServer server;
  server.Serve("/start", kStartPage);
  server.http().Get(
      R"(/(opened|popup-without-click))", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content("<html><body>page " + req.path + "</body></html>", "text/html");
      });
  server.Start();

  BrowserView& view = ShowView("new window");
  int loads = 0;
  view.SetLoadCompleted([&] { ++loads; });
  view.Navigate(Utf8ToUtf16(server.Url("/start")));
  ASSERT_TRUE(WaitFor(
      "the start page to load",
      [&] {
        return loads > 0 && testing::ReadText(view).find(u"new window") != std::u16string::npos;
      },
      20000));

  const wxRect area = view.Window()->GetScreenRect();
  const auto click = [&](double x, double y) {
    testing::ClickOnScreen({area.x + int(area.width * x), area.y + int(area.height * y)});
  };
  // Each strip asked for its window and the view is still on the page.
  const std::pair<double, std::u16string_view> strips[] = {
      {0.50, u"asked data"}, {0.85, u"asked script"}, {0.15, u"asked file"}};
  for (const auto& [y, asked] : strips) {
    click(0.25, y);
    ASSERT_TRUE(testing::Shows(view, asked, 10000)) << "the view left the page";
  }
  const int loads_before = loads;
  click(0.75, 0.5);
  EXPECT_TRUE(testing::Shows(view, u"page /opened", 10000))
      << "the link for a new window did not open in the view";
  // A refused window turned into no navigation of this view before the next one.
  EXPECT_EQ(loads, loads_before + 1) << "the view left the page before /opened";
  const std::vector<std::string> targets = server.Targets();
  EXPECT_EQ(std::count(targets.begin(), targets.end(), "/popup-without-click"), 0)
      << "a page opened a window without a click";
  EXPECT_TRUE(std::find(targets.begin(), targets.end(), "/opened") != targets.end());
  EXPECT_EQ(wxTopLevelWindows.size(), 1u) << "a second window appeared";
}

}  // namespace
}  // namespace talvo
