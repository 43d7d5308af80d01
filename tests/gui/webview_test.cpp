// The one run with the real engine: pages from the loopback service load in WebKitGTK, their
// visible text reads back, and silent views never stop on a script dialog.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/log.h>

#include <gtk/gtk.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/charset.h"
#include "core/fetcher.h"
#include "core/utf.h"
#include "mainwindow/form1.h"
#include "mainwindow/page_list_ui.h"
#include "platform/diagnostics.h"
#include "platform/web/webview_browser.h"
#include "tests/gui/gui_test.h"
#include "tests/support/form1_fixture.h"
#include "tests/support/form1_probe.h"
#include "tests/support/loopback_server.h"

namespace talvo {
namespace {

using testing::Probe;

using testing::LoopbackServer;
using testing::WaitFor;

class WebViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFetchesEnabled(true);
    server_.http().Get("/page", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(EncodeGbk(u"<html><head><meta charset=\"gb2312\"></head><body>"
                                u"<p>公告 $$$*1、新频道*http://x/1*$$$</p>"
                                u"<script>alert('blocked?'); document.write('脚本已运行')</script>"
                                u"<div style=\"display:none\">看不见</div></body></html>"),
                      "text/html; charset=gb2312");
    });
    server_.http().Get("/auth", [](const httplib::Request&, httplib::Response& res) {
      res.status = 401;
      res.set_header("WWW-Authenticate", "Basic realm=\"talvo\"");
      res.set_content("<html><body>refused without a password</body></html>", "text/html");
    });
    server_.http().Get("/throws", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(
          "<html><body><script>throw new Error('boom')</script>"
          "<p>after the error</p></body></html>",
          "text/html");
    });
    server_.http().Get("/print", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(
          "<html><body><script>window.print();"
          "document.body.append('after print');</script></body></html>",
          "text/html");
    });
    server_.http().Get(R"(/usbtv/.*)", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(EncodeGbk(u"<html><body style=\"background:#123\"><h1 style=\"color:white\">"
                                u"频道 " +
                                Utf8ToUtf16(req.path) + u"</h1></body></html>"),
                      "text/html; charset=gb2312");
    });
    server_.http().Get("/user/yanzhen.asp", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(EncodeGbk(u"<html><body><p>公告：$$$*春节节目单*http://news.test/1*"
                                u"<b>会员&amp;续费</b>*http://news.test/2*$$$</p></body></html>"),
                      "text/html; charset=gb2312");
    });
    server_.http().Get(R"(/user/.*)", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(
          EncodeGbk(u"<html><body><h2>下载页 " + Utf8ToUtf16(req.target) + u"</h2></body></html>"),
          "text/html; charset=gb2312");
    });
    server_.Start();
  }

  LoopbackServer server_;
};

TEST_F(WebViewTest, LoadsAPageAndReadsItsVisibleText) {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "webview");
  std::unique_ptr<BrowserView> view = CreateWebViewBrowser(frame);
  ASSERT_NE(view, nullptr);
  view->SetRect({0, 0, 9000, 6000});
  view->SetSilent(true);
  frame->Show();

  int loads = 0;
  std::u16string text;
  // The text is read when a load completes, as the bulletin reader does.
  view->SetLoadCompleted([&] {
    ++loads;
    text = view->BodyText();
  });
  view->Navigate(Utf8ToUtf16(server_.Url("/page")));
  ASSERT_TRUE(WaitFor([&] { return text.find(u"公告") != std::u16string::npos; }, 20000))
      << "the page never finished loading";
  EXPECT_NE(text.find(u"$$$*1、新频道*http://x/1*$$$"), std::u16string::npos);
  EXPECT_NE(text.find(u"脚本已运行"), std::u16string::npos) << "a silent alert must not block";
  EXPECT_EQ(text.find(u"看不见"), std::u16string::npos) << "hidden text is not visible text";

  const int before_blank = loads;
  view->Navigate(u"about:blank");
  ASSERT_TRUE(WaitFor([&] { return loads > before_blank; }, 20000))
      << "about:blank reports a load too";
  EXPECT_EQ(text, u"");
  view.reset();
  testing::DestroyAndWait(frame);
}

// GTK windows of any kind that are on the screen: a print dialog would be one more.
int VisibleGtkWindows() {
  GList* windows = gtk_window_list_toplevels();
  int shown = 0;
  for (GList* item = windows; item != nullptr; item = item->next) {
    if (gtk_widget_get_visible(GTK_WIDGET(item->data))) ++shown;
  }
  g_list_free(windows);
  return shown;
}

TEST_F(WebViewTest, SilentViewsShowNoPasswordFormAndNoPrintDialog) {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "silent");
  std::unique_ptr<BrowserView> view = CreateWebViewBrowser(frame);
  view->SetRect({0, 0, 9000, 6000});
  view->SetSilent(true);
  frame->Show();
  // wx shows a frame's GTK window once it knows its size.
  ASSERT_TRUE(
      WaitFor([&] { return gtk_widget_get_visible(static_cast<GtkWidget*>(frame->GetHandle())); }));
  const int windows = VisibleGtkWindows();
  int loads = 0;
  view->SetLoadCompleted([&] { ++loads; });

  view->Navigate(Utf8ToUtf16(server_.Url("/auth")));
  EXPECT_TRUE(WaitFor(
      [&] {
        return loads > 0 &&
               view->BodyText().find(u"refused without a password") != std::u16string::npos;
      },
      20000))
      << "the load stopped at a password form";
  view->Navigate(Utf8ToUtf16(server_.Url("/print")));
  EXPECT_TRUE(
      WaitFor([&] { return view->BodyText().find(u"after print") != std::u16string::npos; }, 20000))
      << "window.print() did not return";
  EXPECT_EQ(VisibleGtkWindows(), windows) << "a dialog opened";
  testing::DestroyAndWait(frame);
}

TEST_F(WebViewTest, FailingScriptsAndWarningsOpenNoWindow) {
  const std::filesystem::path log_file =
      std::filesystem::temp_directory_path() / "talvo-log-test.txt";
  std::FILE* sink = std::fopen(log_file.c_str(), "w");
  ASSERT_NE(sink, nullptr);
  wxLog* previous = RouteLogTo(sink);

  auto* frame = new wxFrame(nullptr, wxID_ANY, "script");
  std::unique_ptr<BrowserView> view = CreateWebViewBrowser(frame);
  view->SetRect({0, 0, 9000, 6000});
  view->SetSilent(true);
  frame->Show();
  const std::size_t windows = wxTopLevelWindows.size();
  std::u16string text;
  view->SetLoadCompleted([&] { text = view->BodyText(); });
  view->Navigate(Utf8ToUtf16(server_.Url("/throws")));
  ASSERT_TRUE(WaitFor([&] { return text.find(u"after the error") != std::u16string::npos; }, 20000))
      << "a page whose script throws never finished loading";
  wxLogWarning("%s", wxString::FromUTF8("警告：测试"));
  wxLogError("error: test");
  // A log window or message box would be created when the log is flushed.
  wxLog::FlushActive();
  EXPECT_EQ(wxTopLevelWindows.size(), windows) << "a window was opened for a log message";

  delete wxLog::SetActiveTarget(previous);
  std::fclose(sink);
  std::ifstream in(log_file);
  std::stringstream logged;
  logged << in.rdbuf();
  EXPECT_NE(logged.str().find("警告：测试"), std::string::npos) << logged.str();
  EXPECT_NE(logged.str().find("error: test"), std::string::npos);
  std::filesystem::remove(log_file);
  view.reset();
  testing::DestroyAndWait(frame);
}

TEST_F(WebViewTest, StartedWindowWithTheRealEngine) {
  Form1Options options;
  options.config.primary_host = Utf8ToUtf16(server_.HostPort());
  options.config.tv_host = Utf8ToUtf16(server_.HostPort());
  options.config.channel_host = Utf8ToUtf16(server_.HostPort());
  char pattern[] = "/tmp/talvo-webview-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  options.app_folder = pattern;
  options.station_timer = std::chrono::seconds(60);
  auto* form = new Form1(options);
  int playback_loads = 0;
  Probe(*form).WebBrowser1().SetLoadCompleted([&] { ++playback_loads; });
  form->Form_Load();
  form->Show();
  ASSERT_TRUE(WaitFor(
      [&] {
        return playback_loads > 0 &&
               Probe(*form).WebBrowser1().BodyText().find(u"下载页") != std::u16string::npos;
      },
      20000))
      << "the download page did not show";
  // The guest verify page's bulletins, read from the page's visible text.
  EXPECT_TRUE(
      WaitFor([&] { return Probe(*form).Menus().Caption(kN1 + 1) == u"2.会员&续费"; }, 20000))
      << "the bulletins did not reach the menu bar";
  EXPECT_EQ(Probe(*form).Menus().Caption(kN1), u"1.春节节目单");
  testing::SaveScreenshot("form1-started");

  testing::ChooseRow(Probe(*form).Channels().List(), 0);
  EXPECT_TRUE(WaitFor(
      [&] {
        return Probe(*form).WebBrowser1().BodyText().find(u"频道 /usbtv/bjwsgq.html") !=
               std::u16string::npos;
      },
      20000))
      << "the channel page did not show";
  testing::SaveScreenshot("form1-channel");
  testing::DestroyAndWait(form);
  std::filesystem::remove_all(pattern);
}

}  // namespace
}  // namespace talvo
