// What a page may do to the client, with the real engine and pages of a loopback service, one row
// a case: downloads only after a click and through the save dialog, a before-unload question that
// cannot keep a view, and views that recover when their page process hangs or dies.
#include <gtest/gtest.h>
#include <signal.h>
#include <wx/listbox.h>

#include <gtk/gtk.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>

#include "core/charset.h"
#include "core/fetcher.h"
#include "core/utf.h"
#include "mainwindow/form1.h"
#include "tests/gui/gui_test.h"
#include "tests/support/client_harness.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/form1_probe.h"
#include "tests/support/loopback_server.h"

namespace talvo {
namespace {

using testing::Probe;

using namespace std::chrono_literals;
using testing::WaitFor;
namespace fs = std::filesystem;

std::string Html(const std::string& body) {
  return "<html><body style='margin:0'>" + body + "</body></html>";
}

// The whole page is one link or one clickable block, so a click anywhere in the view hits it.
constexpr const char* kBlock = "style='display:block;position:fixed;inset:0;background:#08c'";

// A toplevel GTK window of this process, other than the wx frames, that `is` accepts.
GtkWidget* FindDialog(const std::function<bool(GtkWidget*)>& is) {
  GList* windows = gtk_window_list_toplevels();
  GtkWidget* found = nullptr;
  for (GList* it = windows; it != nullptr && found == nullptr; it = it->next) {
    auto* window = static_cast<GtkWidget*>(it->data);
    if (gtk_widget_get_visible(window) && is(window)) found = window;
  }
  g_list_free(windows);
  return found;
}

// The toolkit asks "replace?" in a loop of its own: this answers it from inside that loop, once
// it is asked, and notes what the file held at that moment.
struct ReplaceQuestion {
  fs::path file;
  bool asked = false;
  std::string content_when_asked;
  static gboolean Answer(gpointer data) {
    auto* question = static_cast<ReplaceQuestion*>(data);
    GtkWidget* dialog = FindDialog([](GtkWidget* w) { return GTK_IS_MESSAGE_DIALOG(w); });
    if (dialog == nullptr) return G_SOURCE_CONTINUE;
    question->asked = true;
    question->content_when_asked = testing::FileBytes(question->file);
    gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);  // 替换
    return G_SOURCE_REMOVE;
  }
};

GtkWidget* SaveDialog() {
  return FindDialog([](GtkWidget* w) { return GTK_IS_FILE_CHOOSER(w); });
}
bool AnyDialog() {
  return FindDialog([](GtkWidget* w) { return GTK_IS_DIALOG(w); }) != nullptr;
}

struct Row {
  const char* name;
  std::function<void()> run;
};
// The rows' names as tests, in the order of PageSafetyTest::Rows.
constexpr const char* kRowTests[] = {
    "DownloadWithoutAClick",     "AClickSavesWhereTheUserChooses", "ANameWithAFolderIsRefused",
    "OverwritingAsksFirst",      "BeforeUnloadNeverKeepsTheView",  "AKilledPageProcess",
    "AnEndlessScript",           "ARedirectToALocalFile",          "ACertificateNobodySigned",
    "ClickingTheChosenRowAgain",
};

class PageSafetyTest : public testing::EngineFixture, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    server_.http().Get(
        "/user/jiemubiao.asp", [this](const httplib::Request&, httplib::Response& res) {
          res.set_content(EncodeGbk(u"计数卫视\r\n") + server_.Url("/counter") + "\r\n",
                          "text/plain; charset=gb2312");
        });
    server_.http().Get(
        R"(/(counter|user/yanzhen.asp|page/loop))",
        [this](const httplib::Request& req, httplib::Response& res) {
          const int n = Count(req.path, 1);
          const std::string script =
              req.path == "/page/loop" ? "<script>setTimeout(()=>{for(;;){}},300)</script>" : "";
          res.set_content(Html(req.path + " " + std::to_string(n) + script), "text/html");
        });
    server_.http().Get("/attachment", [this](const httplib::Request& req, httplib::Response& res) {
      Count(req.path, 1);
      res.set_header("Content-Disposition",
                     "attachment; filename=\"" + req.get_param_value("name") + "\"");
      res.set_content("payload", "application/octet-stream");
    });
    server_.http().Get("/page/click", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(Html("<a " + std::string(kBlock) +
                           " href='/attachment?name=" + req.get_param_value("name") + "'>save</a>"),
                      "text/html");
    });
    server_.http().Get("/page/unclicked", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(
          Html("<script>location='/attachment?name=" + req.get_param_value("name") + "'</script>"),
          "text/html");
    });
    server_.http().Get("/page/to-file",
                       [this](const httplib::Request& req, httplib::Response& res) {
                         Count(req.path, 1);
                         res.set_redirect("file:///etc/passwd");
                       });
    server_.Serve(
        "/page/beforeunload",
        Html(
            "<div " + std::string(kBlock) +
            " onclick=\"this.textContent='clicked'\">stay</div>"
            "<script>onbeforeunload=e=>{e.preventDefault();return e.returnValue='stay'}</script>"));
    server_.Start();
    folder_ = e2e::NewWorkDir("page-safety");
    downloads_ = fs::path(g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD)
                              ? g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD)
                              : g_get_home_dir());
  }

  Form1& Start() {
    StartOnTheEngine(server_.HostPort(), folder_);
    EXPECT_TRUE(WaitFor(
        "the service strip's page", [&] { return Loads("/user/yanzhen.asp") > 0; }, 20000))
        << "the strip shows: " << Utf16ToUtf8(testing::ReadText(probe().WebBrowser2()))
        << "; the service was asked for " << server_.Targets().size() << " paths";
    return *form_;
  }

  void Open(const std::string& target, std::u16string_view shown) {
    probe().WebBrowser1().Navigate(Utf8ToUtf16(server_.Url(target)));
    ASSERT_TRUE(testing::Shows(probe().WebBrowser1(), shown)) << target;
  }
  // A real click in the middle of the playback view.
  void ClickPage() {
    const wxRect area = probe().WebBrowser1().Window()->GetScreenRect();
    testing::ClickOnScreen({area.x + area.width / 2, area.y + area.height / 2});
  }
  // The save dialog the click opened: it suggests `name`; the user picks `folder` and presses
  // Enter.
  void SaveInto(const std::string& name, const fs::path& folder) {
    GtkWidget* dialog = nullptr;
    ASSERT_TRUE(WaitFor(
        "a save dialog", [&] { return (dialog = SaveDialog()) != nullptr; }, 10000));
    gchar* suggested = gtk_file_chooser_get_current_name(GTK_FILE_CHOOSER(dialog));
    EXPECT_EQ(std::string(suggested), name);
    g_free(suggested);
    gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(dialog), folder.c_str());
    ASSERT_TRUE(WaitFor([&] { return gtk_window_is_active(GTK_WINDOW(dialog)); }));
    e2e::Shell("xdotool key Return");
  }
  // Requests for `path` so far, `more` counted first.
  int Count(const std::string& path, int more = 0) {
    std::lock_guard lock(mutex_);
    return loads_[path] += more;
  }
  int Loads(const std::string& path) { return Count(path); }
  // The service strip loads its page again after the playback view's page ended their process,
  // from a budget of its own.
  void ExpectTheStripBack(int verify_loads_before) {
    EXPECT_TRUE(WaitFor(
        "the service strip to load again",
        [&] { return Loads("/user/yanzhen.asp") > verify_loads_before; }, 15000));
    EXPECT_TRUE(testing::Shows(probe().WebBrowser2(), u"/user/yanzhen.asp", 10000));
  }

  std::vector<Row> Rows();

  const std::string unique_ = "talvo-" + std::to_string(::getpid());
  std::mutex mutex_;
  std::map<std::string, int> loads_;
  fs::path folder_;
  fs::path downloads_;
  // Declared after what its handlers read: destroyed first, so no handler outlives it.
  testing::LoopbackServer server_;
};

std::vector<Row> PageSafetyTest::Rows() {
  return {
      {"a download without a click writes and removes nothing",
       [&] {
         // One offered under a new name, one under the name of a file the user has.
         const fs::path existing = downloads_ / (unique_ + ".pdf");
         fs::create_directories(downloads_);
         std::ofstream(existing) << "thesis";
         for (const std::string& name : {unique_ + "-new.pdf", unique_ + ".pdf"}) {
           // Sent, and the next page loaded after it: by then the download was decided.
           const int sent = Loads("/attachment");
           probe().WebBrowser1().Navigate(Utf8ToUtf16(server_.Url("/page/unclicked?name=" + name)));
           EXPECT_TRUE(WaitFor("the file sent", [&] { return Loads("/attachment") > sent; }));
           Open("/counter", u"/counter");
           EXPECT_FALSE(AnyDialog()) << name;
         }
         EXPECT_EQ(testing::FileBytes(existing), "thesis");
         EXPECT_FALSE(fs::exists(downloads_ / (unique_ + "-new.pdf")));
         EXPECT_FALSE(fs::exists(g_get_home_dir() / fs::path(unique_ + "-new.pdf")));
         fs::remove(existing);
       }},
      {"a click saves where the user chooses",
       [&] {
         Open("/page/click?name=" + unique_ + ".txt", u"save");
         ClickPage();
         SaveInto(unique_ + ".txt", folder_);
         EXPECT_TRUE(WaitFor(
             [&] { return testing::FileBytes(folder_ / (unique_ + ".txt")) == "payload"; }, 10000));
       }},
      {"a name with a folder in it is refused, clicked or not",
       [&] {
         const int sent = Loads("/attachment");
         Open("/page/click?name=../" + unique_ + ".sh", u"save");
         ClickPage();
         EXPECT_TRUE(WaitFor("the reply sent", [&] { return Loads("/attachment") > sent; }));
         Open("/counter", u"/counter");  // the views and their processes live on
         EXPECT_FALSE(AnyDialog());
         for (const fs::path& folder : {downloads_, fs::path(g_get_home_dir()), folder_}) {
           EXPECT_FALSE(fs::exists(folder.parent_path() / (unique_ + ".sh"))) << folder;
           EXPECT_FALSE(fs::exists(folder / (unique_ + ".sh"))) << folder;
         }
       }},
      {"overwriting asks first",
       [&] {
         ReplaceQuestion question;
         question.file = folder_ / "keep-me.txt";
         std::ofstream(question.file) << "mine";
         Open("/page/click?name=keep-me.txt", u"save");
         ClickPage();
         const guint watch = g_timeout_add(50, &ReplaceQuestion::Answer, &question);
         SaveInto("keep-me.txt", folder_);
         EXPECT_TRUE(
             WaitFor([&] { return testing::FileBytes(question.file) == "payload"; }, 10000));
         if (!question.asked) g_source_remove(watch);
         EXPECT_TRUE(question.asked) << "replacing a file was not asked";
         EXPECT_EQ(question.content_when_asked, "mine");
       }},
      {"before-unload never keeps the view",
       [&] {
         Open("/page/beforeunload", u"stay");
         ClickPage();  // a page may ask only once it has been clicked
         ASSERT_TRUE(testing::Shows(probe().WebBrowser1(), u"clicked"));
         Open("/counter", u"/counter");
         EXPECT_FALSE(AnyDialog());
       }},
      {"a killed page process: both views load their pages again",
       [&] {
         Open("/counter", u"/counter 1");
         const int verify = Loads("/user/yanzhen.asp");
         const auto killed = std::chrono::steady_clock::now();
         e2e::Shell("pkill -KILL -P " + std::to_string(::getpid()) + " -f WebKitWebProcess");
         EXPECT_TRUE(testing::Shows(probe().WebBrowser1(), u"/counter 2"));
         std::printf("recovery: process killed to page shown again in %lld ms\n",
                     static_cast<long long>((std::chrono::steady_clock::now() - killed) / 1ms));
         ExpectTheStripBack(verify);
       }},
      {"an endless script: ended, reloaded three times, then a notice; the strip lives on",
       [&] {
         Open("/page/loop", u"/page/loop 1");
         const int verify = Loads("/user/yanzhen.asp");
         EXPECT_TRUE(testing::Shows(probe().WebBrowser1(), u"此页面反复停止运行", 60000));
         EXPECT_EQ(Loads("/page/loop"), 4);
         ExpectTheStripBack(verify);
         Open("/counter", u"/counter");  // the view is usable again
       }},
      {"a redirect to a local file: nothing local is shown, and both views come back",
       [&] {
         const int verify = Loads("/user/yanzhen.asp");
         probe().WebBrowser1().Navigate(Utf8ToUtf16(server_.Url("/page/to-file")));
         ASSERT_TRUE(WaitFor([&] { return Loads("/page/to-file") > 0; }, 10000));
         ExpectTheStripBack(verify);
         // Each try ends the page's process, and the tries run out: by the notice, all was shown.
         EXPECT_TRUE(testing::Shows(probe().WebBrowser1(), u"此页面反复停止运行"));
         EXPECT_EQ(testing::ReadText(probe().WebBrowser1()).find(u"root:"), std::u16string::npos);
         Open("/counter", u"/counter");
       }},
      {"a certificate nobody signed: the page is never shown, the notice says so",
       [&] {
         testing::LoopbackServer secure(testing::LoopbackServer::kSelfSignedHttps);
         secure.Serve("/", Html("secret"));
         secure.Start();
         probe().WebBrowser1().Navigate(Utf8ToUtf16(secure.Url("/")));
         EXPECT_TRUE(testing::Shows(probe().WebBrowser1(), u"安全连接失败"));
         EXPECT_EQ(testing::ReadText(probe().WebBrowser1()).find(u"secret"), std::u16string::npos);
       }},
      {"clicking the chosen row again loads its page again",
       [&] {
         wxListBox* list = probe().Parts().list2;
         const auto click_row = [&](int row) {
           int y = 0;
           while (y < list->GetClientSize().y && list->HitTest(wxPoint(10, y)) != row) ++y;
           const wxPoint at = list->ClientToScreen(wxPoint(20, y + 6));
           testing::ClickOnScreen(at);
         };
         click_row(6);
         ASSERT_TRUE(testing::Shows(probe().WebBrowser1(), u"/counter 1"));
         click_row(6);
         EXPECT_TRUE(testing::Shows(probe().WebBrowser1(), u"/counter 2"));
       }},
  };
}

// Each row alone, on a window of its own.
TEST_P(PageSafetyTest, PagesCannotTouchFilesTrapAViewOrFreezeIt) {
  const std::vector<Row> rows = Rows();
  ASSERT_EQ(rows.size(), std::size(kRowTests));
  const Row& row = rows[GetParam()];
  SCOPED_TRACE(row.name);
  Start();
  row.run();
}

INSTANTIATE_TEST_SUITE_P(Each, PageSafetyTest,
                         ::testing::Range(0, static_cast<int>(std::size(kRowTests))),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(kRowTests[info.param]);
                         });

}  // namespace
}  // namespace talvo
