// The one run with the real engine: pages from the loopback service load in WebKitGTK, their
// visible text reads back, and silent views never stop on a script dialog.
#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/log.h>
#include <wx/timer.h>

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>

#include "core/charset.h"
#include "core/fetcher.h"
#include "core/utf.h"
#include "mainwindow/form1.h"
#include "mainwindow/page_list_ui.h"
#include "platform/diagnostics.h"
#include "platform/web/load_trouble_webkit.h"
#include "platform/web/webview_browser.h"
#include "tests/gui/gui_test.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/form1_fixture.h"
#include "tests/support/form1_probe.h"
#include "tests/support/loopback_server.h"
#include "tests/support/scratch.h"

namespace talvo {
namespace {

class WebViewTest : public testing::EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    server_.Serve("/page",
                  EncodeGbk(u"<html><head><meta charset=\"gb2312\"></head><body>"
                            u"<p>公告 $$$*1、新频道*http://x/1*$$$</p>"
                            u"<script>alert('blocked?'); document.write('脚本已运行')</script>"
                            u"<div style=\"display:none\">看不见</div></body></html>"),
                  "text/html; charset=gb2312");
    server_.http().Get("/auth", [](const httplib::Request&, httplib::Response& res) {
      res.status = 401;
      res.set_header("WWW-Authenticate", "Basic realm=\"talvo\"");
      res.set_content("<html><body>refused without a password</body></html>", "text/html");
    });
    server_.Serve("/throws",
                  "<html><body><script>throw new Error('boom')</script>"
                  "<p>after the error</p></body></html>");
    // A synchronous request holds the page's main thread until its answer, 6 s later.
    server_.Serve("/hangs",
                  "<html><body><script>const request = new XMLHttpRequest();"
                  "request.open('GET', '/never', false); request.send();</script></body></html>");
    server_.http().Get("/never", [](const httplib::Request&, httplib::Response& res) {
      std::this_thread::sleep_for(std::chrono::seconds(6));
      res.set_content("late", "text/plain");
    });
    server_.Serve("/print",
                  "<html><body><script>window.print();"
                  "document.body.append('after print');</script></body></html>");
    server_.http().Get(R"(/usbtv/.*)", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(EncodeGbk(u"<html><body style=\"background:#123\"><h1 style=\"color:white\">"
                                u"频道 " +
                                Utf8ToUtf16(req.path) + u"</h1></body></html>"),
                      "text/html; charset=gb2312");
    });
    server_.Serve("/user/yanzhen.asp",
                  EncodeGbk(u"<html><body><p>公告：$$$*春节节目单*http://news.test/1*"
                            u"<b>会员&amp;续费</b>*http://news.test/2*$$$</p></body></html>"),
                  "text/html; charset=gb2312");
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
  BrowserView& view = ShowView("webview");
  int loads = 0;
  std::u16string text;
  // The text is read when a load completes, as the bulletin reader does.
  view.SetLoadCompleted([&] {
    ++loads;
    text = view.BodyText();
  });
  view.Navigate(Utf8ToUtf16(server_.Url("/page")));
  ASSERT_TRUE(WaitFor(
      "the page to finish loading", [&] { return text.find(u"公告") != std::u16string::npos; },
      20000));
  EXPECT_NE(text.find(u"$$$*1、新频道*http://x/1*$$$"), std::u16string::npos);
  EXPECT_NE(text.find(u"脚本已运行"), std::u16string::npos) << "a silent alert must not block";
  EXPECT_EQ(text.find(u"看不见"), std::u16string::npos) << "hidden text is not visible text";

  const int before_blank = loads;
  view.Navigate(u"about:blank");
  ASSERT_TRUE(WaitFor(
      "about:blank to report a load", [&] { return loads > before_blank; }, 20000));
  EXPECT_EQ(text, u"");
}

// The text of a view whose page has stopped answering, read as the view goes: the read ends with
// the empty text instead of waiting for an answer that can no longer come.
TEST_F(WebViewTest, AReadOfAHungPageEndsEmptyWhenItsViewGoes) {
  BrowserView& view = ShowView("hung page");
  view.Navigate(Utf8ToUtf16(server_.Url("/hangs")));
  ASSERT_TRUE(WaitFor(
      "the page to block on its request",
      [&] { return std::ranges::count(server_.Targets(), "/never") > 0; }, 20000));
  wxTimer closing;
  closing.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { view_.reset(); });
  closing.StartOnce(1000);
  EXPECT_EQ(view.BodyText(), u"");
  EXPECT_EQ(view_, nullptr) << "the read ended before the view went";
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
  BrowserView& view = ShowView("silent");
  const int windows = VisibleGtkWindows();
  int loads = 0;
  view.SetLoadCompleted([&] { ++loads; });

  view.Navigate(Utf8ToUtf16(server_.Url("/auth")));
  EXPECT_TRUE(WaitFor(
      "the refusal to load, not stop at a password form",
      [&] {
        return loads > 0 &&
               view.BodyText().find(u"refused without a password") != std::u16string::npos;
      },
      20000));
  view.Navigate(Utf8ToUtf16(server_.Url("/print")));
  EXPECT_TRUE(testing::Shows(view, u"after print")) << "window.print() did not return";
  EXPECT_EQ(VisibleGtkWindows(), windows) << "a dialog opened";
}

TEST_F(WebViewTest, FailingScriptsAndWarningsOpenNoWindow) {
  const std::filesystem::path log_file =
      std::filesystem::temp_directory_path() / "talvo-log-test.txt";
  std::FILE* sink = std::fopen(log_file.c_str(), "w");
  ASSERT_NE(sink, nullptr);
  wxLog* previous = RouteLogTo(sink);

  BrowserView& view = ShowView("script");
  const std::size_t windows = wxTopLevelWindows.size();
  std::u16string text;
  view.SetLoadCompleted([&] { text = view.BodyText(); });
  view.Navigate(Utf8ToUtf16(server_.Url("/throws")));
  ASSERT_TRUE(WaitFor(
      "a page whose script throws to finish loading",
      [&] { return text.find(u"after the error") != std::u16string::npos; }, 20000));
  wxLogWarning("%s", wxString::FromUTF8("警告：测试"));
  wxLogError("error: test");
  // A log window or message box would be created when the log is flushed.
  wxLog::FlushActive();
  EXPECT_EQ(wxTopLevelWindows.size(), windows) << "a window was opened for a log message";

  delete wxLog::SetActiveTarget(previous);
  std::fclose(sink);
  const std::string logged = testing::FileBytes(log_file);
  EXPECT_NE(logged.find("警告：测试"), std::string::npos) << logged;
  EXPECT_NE(logged.find("error: test"), std::string::npos);
  std::filesystem::remove(log_file);
}

TEST_F(WebViewTest, StartedWindowWithTheRealEngine) {
  StartOnTheEngine(server_.HostPort());
  BrowserView& playback = probe().WebBrowser1();
  ASSERT_TRUE(testing::Shows(playback, u"下载页"));
  // The guest verify page's bulletins, read from the page's visible text.
  EXPECT_TRUE(WaitFor(
      "the bulletins to reach the menu bar",
      [&] { return probe().Menus().Caption(kN1 + 1) == u"2.会员&续费"; }, 20000));
  EXPECT_EQ(probe().Menus().Caption(kN1), u"1.春节节目单");
  testing::SaveScreenshot("form1-started");

  testing::ChooseRow(probe().Channels().List(), 0);
  EXPECT_TRUE(testing::Shows(playback, u"频道 /usbtv/bjwsgq.html"));
  testing::SaveScreenshot("form1-channel");
}

TEST(LoadTroubleTest, EachEngineErrorGetsItsNoticeOrNone) {
  const std::optional<LoadTrouble> kNone;
  const struct {
    GQuark domain;
    int code;
    std::optional<LoadTrouble> trouble;
  } rows[] = {
      {WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED, kNone},
      {WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_FILE_DOES_NOT_EXIST, kNone},
      {WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_FAILED, LoadTrouble::kOther},
      {WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE, kNone},
      {WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_DESTINATION, kNone},
      {G_TLS_ERROR, G_TLS_ERROR_BAD_CERTIFICATE, LoadTrouble::kSecure},
      {G_RESOLVER_ERROR, G_RESOLVER_ERROR_NOT_FOUND, LoadTrouble::kHostNotFound},
      {SOUP_HTTP_ERROR, SOUP_STATUS_CANT_RESOLVE_PROXY, LoadTrouble::kHostNotFound},
      {SOUP_HTTP_ERROR, SOUP_STATUS_CANT_CONNECT, LoadTrouble::kRefused},
      {SOUP_HTTP_ERROR, SOUP_STATUS_TLS_FAILED, LoadTrouble::kSecure},
      {SOUP_HTTP_ERROR, SOUP_STATUS_IO_ERROR, LoadTrouble::kReset},
      {SOUP_HTTP_ERROR, SOUP_STATUS_NOT_FOUND, LoadTrouble::kOther},
      {G_IO_ERROR, G_IO_ERROR_CANCELLED, kNone},
      {G_IO_ERROR, G_IO_ERROR_PROXY_FAILED, LoadTrouble::kRefused},
      {G_IO_ERROR, G_IO_ERROR_TIMED_OUT, LoadTrouble::kTimedOut},
      {G_IO_ERROR, G_IO_ERROR_HOST_NOT_FOUND, LoadTrouble::kHostNotFound},
      {G_IO_ERROR, G_IO_ERROR_HOST_UNREACHABLE, LoadTrouble::kNoRoute},
      {G_IO_ERROR, G_IO_ERROR_NOT_CONNECTED, LoadTrouble::kReset},
      {G_IO_ERROR, G_IO_ERROR_FAILED, LoadTrouble::kOther},
      {G_FILE_ERROR, G_FILE_ERROR_NOENT, LoadTrouble::kOther},
  };
  for (const auto& row : rows) {
    GError* error = g_error_new_literal(row.domain, row.code, "");
    EXPECT_EQ(TroubleOf(error), row.trouble) << g_quark_to_string(row.domain) << " " << row.code;
    g_error_free(error);
  }
}

}  // namespace
}  // namespace talvo
