// The one run with the real engine: pages from the loopback service load in WebKitGTK, their
// visible text reads back, and silent views never stop on a script dialog.
#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/log.h>

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <cstdio>
#include <optional>

#include "core/charset.h"
#include "core/utf.h"
#include "platform/diagnostics.h"
#include "platform/web/load_trouble_webkit.h"
#include "platform/web/webview_browser.h"
#include "tests/gui/gui_test.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/loopback_server.h"
#include "tests/support/scratch.h"

namespace talvo {
namespace {

using testing::LoopbackServer;
using testing::WaitFor;

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
    server_.Serve("/print",
                  "<html><body><script>window.print();"
                  "document.body.append('after print');</script></body></html>");
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
    view.ReadBodyText([&](std::u16string answer) { text = std::move(answer); });
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
  EXPECT_TRUE(WaitFor(
      "about:blank's load, read as no text", [&] { return loads > before_blank && text.empty(); },
      20000));
}

// A read still on its way when its view goes is never answered: nothing of the view is left to
// take the answer.
TEST_F(WebViewTest, AReadWhoseViewWentIsNeverAnswered) {
  BrowserView& view = ShowView("going");
  view.Navigate(Utf8ToUtf16(server_.Url("/page")));
  ASSERT_TRUE(testing::Shows(view, u"公告"));
  bool answered = false;
  view.ReadBodyText([&](std::u16string) { answered = true; });
  view_ = CreateWebViewBrowser(frame_);  // the view goes; one of the same engine reads on
  view_->SetRect({0, 0, 9000, 6000});
  view_->SetSilent(true);
  view_->Navigate(Utf8ToUtf16(server_.Url("/page")));
  EXPECT_TRUE(testing::Shows(*view_, u"公告"));
  EXPECT_FALSE(answered);
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
               testing::ReadText(view).find(u"refused without a password") != std::u16string::npos;
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
  view.SetLoadCompleted(
      [&] { view.ReadBodyText([&](std::u16string answer) { text = std::move(answer); }); });
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

// What the viewer reads for an error the engine gives: the notice's headline, or nothing for a
// load that another replaced, a download refused or a decision of the client's own.
TEST(LoadTroubleTest, TheViewerSeesWhatWentWrongOrNothing) {
  const struct {
    GQuark domain;
    int code;
    const char* sees;
  } rows[] = {
      {WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED, ""},
      {WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE, ""},
      {WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_DESTINATION, ""},
      {G_IO_ERROR, G_IO_ERROR_CANCELLED, ""},
      {G_TLS_ERROR, G_TLS_ERROR_BAD_CERTIFICATE, "安全连接失败"},
      {SOUP_HTTP_ERROR, SOUP_STATUS_CANT_RESOLVE_PROXY, "找不到服务器"},
      {SOUP_HTTP_ERROR, SOUP_STATUS_CANT_CONNECT, "无法连接到服务器"},
      {G_IO_ERROR, G_IO_ERROR_TIMED_OUT, "连接超时"},
      {G_IO_ERROR, G_IO_ERROR_HOST_UNREACHABLE, "网络不可用"},
      {SOUP_HTTP_ERROR, SOUP_STATUS_IO_ERROR, "连接被中断"},
      {G_FILE_ERROR, G_FILE_ERROR_NOENT, "无法载入此页面"},
  };
  for (const auto& row : rows) {
    GError* error = g_error_new_literal(row.domain, row.code, "");
    const std::optional<LoadTrouble> trouble = TroubleOf(error);
    EXPECT_EQ(trouble ? OutageHeadline(*trouble) : "", row.sees)
        << g_quark_to_string(row.domain) << " " << row.code;
    g_error_free(error);
  }
}

}  // namespace
}  // namespace talvo
