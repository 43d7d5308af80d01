// The login window and the start-up sign-in, in Form1 on recording browser views against a
// primary host and a TV host on loopback. Keys are real: xdotool types into the focused window,
// so these tests run one at a time.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <wx/button.h>
#include <wx/menu.h>
#include <wx/textctrl.h>

#include <gtk/gtk.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "core/charset.h"
#include "core/credential_file.h"
#include "core/fetcher.h"
#include "core/scrambler.h"
#include "core/service_address.h"
#include "mainwindow/form1.h"
#include "platform/window_titles.h"
#include "platform/wx_text.h"
#include "signin/login.h"
#include "signin/login_ui.h"
#include "tests/gui/gui_test.h"
#include "tests/support/form1_fixture.h"
#include "tests/support/form1_probe.h"
#include "tests/support/loopback_server.h"
#include "tests/support/recording_browser.h"

namespace talvo {
namespace {

using namespace std::chrono_literals;

// Real key events to whatever window has the focus.
void Keys(const std::string& xdotool_arguments) {
  const std::string command = "xdotool " + xdotool_arguments + " 2>/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// The middle of a main-window menu-bar entry, in screen pixels, where a real click lands.
wxPoint MenuEntryOnScreen(Form1& form, int entry) {
  wxMenuBar* bar = form.GetMenuBar();
  guint position = 0;
  while (position < bar->GetMenuCount() &&
         bar->GetMenu(position) != Probe(form).Menus().MenuOf(entry)) {
    ++position;
  }
  GList* items = gtk_container_get_children(GTK_CONTAINER(bar->GetHandle()));
  auto* item = static_cast<GtkWidget*>(g_list_nth_data(items, position));
  g_list_free(items);
  if (item == nullptr) return wxDefaultPosition;
  GtkAllocation area;
  gtk_widget_get_allocation(item, &area);
  int x = 0, y = 0;
  gdk_window_get_origin(gtk_widget_get_window(item), &x, &y);
  return wxPoint(x + area.x + area.width / 2, y + area.y + area.height / 2);
}

// The primary host answers the login request, slowly if asked; both hosts the programme list.
class LoginWindowTest : public testing::Form1Fixture {
 protected:
  void SetUp() override {
    Form1Fixture::SetUp();
    primary_.http().Get("/user/denglu.asp",
                        [this](const httplib::Request&, httplib::Response& res) {
                          std::this_thread::sleep_for(login_delay_.load());
                          std::lock_guard lock(mutex_);
                          res.set_content(EncodeGbk(login_reply_), "text/html; charset=gb2312");
                        });
    for (LoopbackServer* server : {&primary_, &tv_}) {
      server->http().Get(
          "/user/jiemubiao.asp", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(EncodeGbk(programme_reply_), "text/plain; charset=gb2312");
          });
    }
    StartService();
  }

  void TearDown() override {
    login_delay_ = 0ms;
    Form1Fixture::TearDown();
  }

  void SetLoginReply(const std::u16string& reply) {
    std::lock_guard lock(mutex_);
    login_reply_ = reply;
  }

  // 账号登陆 clicked on the menu bar (of a window started for it when there is none yet); once
  // the login window has the keyboard.
  FrmLogin& ShowLogin() {
    if (form_ == nullptr) Start();
    testing::ClickMenuEntry(*form_, kDenglu);
    FrmLogin* login = probe().Login().Existing();
    // Thrown, not dereferenced: GoogleTest reports the case failed and goes on to the next.
    if (login == nullptr) throw std::runtime_error("账号登陆 opened no login window");
    EXPECT_TRUE(WaitFor("the login window to get the keyboard",
                        [&] { return login->IsShown() && login->IsActive(); }));
    return *login;
  }

  // The boxes filled, the service's next reply set, and 登陆 pressed unless `press` is false.
  void SubmitLogin(FrmLogin& login, const std::u16string& user, const std::u16string& password,
                   const std::u16string& reply, bool press = true) {
    login.SetUserName(user);
    login.SetPassword(password);
    SetLoginReply(reply);
    if (press) Press(login.cmdOK());
  }

  void Press(wxButton* button) {
    wxCommandEvent click(wxEVT_BUTTON, button->GetId());
    click.SetEventObject(button);
    button->HandleWindowEvent(click);
  }

  std::vector<std::string> LoginRequests() const {
    return testing::RequestsFor(primary_, "/user/denglu.asp");
  }

  std::mutex mutex_;
  std::u16string login_reply_;
  std::u16string programme_reply_;
  std::atomic<std::chrono::milliseconds> login_delay_{0ms};
};

TEST_F(LoginWindowTest, TypingRemembersTheAccountAndEnterSignsIn) {
  FrmLogin& login = ShowLogin();
  EXPECT_EQ(FromWx(login.GetTitle()), u"塔沃用户登录");
  EXPECT_EQ(login.GetClientSize(), wxSize(250, 126));
  testing::SaveScreenshot("login-window");

  Keys("key --clearmodifiers alt+u");
  Keys("type --delay 30 demo");
  ASSERT_TRUE(WaitFor([&] { return login.UserName() == u"demo"; }));
  EXPECT_FALSE(std::filesystem::exists(CredentialFilePath(options_.app_folder)))
      << "nothing is remembered while the password box is empty";

  Keys("key --clearmodifiers alt+p");
  Keys("type --delay 30 x1234567890123456789abc");  // 23 characters into a box of 20
  ASSERT_TRUE(WaitFor([&] { return login.Password().size() == 20; }));
  // Once the focus has moved on, every key typed before has been handled.
  Keys("key --clearmodifiers alt+u");
  ASSERT_TRUE(WaitFor([&] { return login.txtUserName()->HasFocus(); }));
  EXPECT_EQ(login.Password(), u"x1234567890123456789");
  const StoredAccount stored = ReadCredentialFile(options_.app_folder);
  EXPECT_EQ(stored.user, u"demo");
  EXPECT_EQ(stored.password, u"x1234567890123456789");

  SetLoginReply(u"VIP用户 欢迎您");
  Keys("key Return");
  ASSERT_TRUE(WaitFor("Enter to sign in and close the window", [&] { return !login.IsShown(); }));
  EXPECT_EQ(LoginRequests(),
            std::vector<std::string>{"/user/denglu.asp?yh=demo&pw=x1234567890123456789"});
  EXPECT_EQ(FromWx(form_->GetTitle()), SignedInTitle(options_.config, u"demo", u"VIP用户 欢迎您"));
  EXPECT_EQ(ServiceView().back(), VerifyAddress(options_.config.primary_host, u"demo"));
  EXPECT_EQ(login.Reply(), u"VIP用户 欢迎您");
  EXPECT_EQ(FromWx(login.Text1()->GetValue()), u"VIP用户 欢迎您");
}

// Keys typed as soon as the window appears must reach it, not the bar that was clicked.
TEST_F(LoginWindowTest, ARealClickOnTheMenuOpensTheWindowOnlyOnceTheBarHasLetGoOfTheKeys) {
  Start();
  ASSERT_TRUE(WaitFor([&] { return form_->IsActive(); }));
  const wxPoint entry = MenuEntryOnScreen(*form_, kDenglu);
  ASSERT_NE(entry, wxDefaultPosition);
  testing::ClickOnScreen(entry);
  // An open menu holds GTK's grab, and with it every key of the process.
  bool held_when_shown = true;
  ASSERT_TRUE(WaitFor([&] {
    const FrmLogin* login = probe().Login().Existing();
    if (login == nullptr || !login->IsShown()) return false;
    held_when_shown = gtk_grab_get_current() != nullptr;
    return true;
  })) << "the click did not open the login window";
  EXPECT_FALSE(held_when_shown) << "the login window appeared while the menu bar held the keys";
}

TEST_F(LoginWindowTest, StaysAboveTheMainWindowAndOutOfTheTaskbar) {
  FrmLogin& login = ShowLogin();
  form_->Raise();
  ASSERT_TRUE(WaitFor([&] { return form_->IsActive(); }));
  const std::string state = testing::WindowProperty(&login, "_NET_WM_STATE");
  EXPECT_NE(state.find("_NET_WM_STATE_ABOVE"), std::string::npos) << state;
  EXPECT_NE(state.find("_NET_WM_STATE_SKIP_TASKBAR"), std::string::npos) << state;
  // Fixed size, no minimise or maximise: the window manager may move and close it, nothing else.
  const std::string hints = testing::WindowProperty(&login, "_MOTIF_WM_HINTS");
  EXPECT_NE(hints.find("= 0x3, 0x24,"), std::string::npos) << hints;
  // The program's own icon, not the toolkit's default.
  EXPECT_NE(testing::WindowProperty(&login, "_NET_WM_ICON").find("Icon (64 x 64)"),
            std::string::npos);
}

TEST_F(LoginWindowTest, RejectedPasswordIsSelectedForRetypingAndEscOpensRegistration) {
  const wxString design_title = Start().GetTitle();
  FrmLogin& login = ShowLogin();
  SubmitLogin(login, u"demo", u"wrong1", u"账号或者密码错误，请重新输入", false);
  Keys("key --clearmodifiers alt+u");
  ASSERT_TRUE(WaitFor([&] { return login.txtUserName()->HasFocus(); }));
  Keys("key Return");
  ASSERT_TRUE(WaitFor([&] { return login.Reply() == u"账号或者密码错误，请重新输入"; }));
  EXPECT_TRUE(login.IsShown());
  EXPECT_EQ(form_->GetTitle(), design_title);
  EXPECT_TRUE(WaitFor([&] { return login.txtPassword()->HasFocus(); }));
  long from = -1, to = -1;
  login.txtPassword()->GetSelection(&from, &to);
  EXPECT_EQ(from, 0);
  EXPECT_EQ(to, 6);
  Keys("type n");  // replaces the whole selection
  EXPECT_TRUE(WaitFor([&] { return login.Password() == u"n"; })) << login.txtPassword()->GetValue();

  const std::size_t before = Playback().size();
  Keys("key Escape");  // 用户注册, not 取消
  ASSERT_TRUE(WaitFor([&] { return Playback().size() > before; }));
  EXPECT_EQ(Playback().back(), RegistrationAddress(options_.config.primary_host));
  EXPECT_TRUE(login.IsShown());
}

TEST_F(LoginWindowTest, ChineseNamesAndAmpersandsArriveIntact) {
  FrmLogin& login = ShowLogin();
  SubmitLogin(login, u"张三&pw=1", u"密码 123", u"普通用户");
  EXPECT_EQ(
      LoginRequests(),
      std::vector<std::string>{"/user/denglu.asp?yh=%D5%C5%C8%FD%26pw%3D1&pw=%C3%DC%C2%EB%20123"});
  EXPECT_EQ(FromWx(form_->GetTitle()), SignedInTitle(options_.config, u"张三&pw=1", u"普通用户"));
  EXPECT_EQ(ReadCredentialFile(options_.app_folder).user, u"张三&pw=1");
}

TEST_F(LoginWindowTest, EmptyBoxSendsNothingAndCancelKeepsTheBoxes) {
  FrmLogin& login = ShowLogin();
  login.SetUserName(u"demo");
  Press(login.cmdOK());
  EXPECT_TRUE(LoginRequests().empty());
  login.SetPassword(u"pw");
  Press(login.cmdCancel());
  EXPECT_FALSE(login.IsShown());
  FrmLogin& again = ShowLogin();
  EXPECT_EQ(&again, &login);
  EXPECT_EQ(again.UserName(), u"demo");
  EXPECT_EQ(again.Password(), u"pw");
}

TEST_F(LoginWindowTest, CloseBoxEmptiesTheNextWindowAndKeepsTheFile) {
  FrmLogin& login = ShowLogin();
  SubmitLogin(login, u"demo", u"secret", u"账号或者密码错误");
  const wxWeakRef<FrmLogin> closed(&login);
  login.Close();  // what the title bar's close box does
  ASSERT_TRUE(WaitFor([&] { return !closed; }));
  FrmLogin& fresh = ShowLogin();
  EXPECT_EQ(fresh.UserName(), u"");
  EXPECT_EQ(fresh.Password(), u"");
  EXPECT_EQ(fresh.Reply(), u"");
  EXPECT_EQ(ReadCredentialFile(options_.app_folder).password, u"secret");
}

TEST_F(LoginWindowTest, LoginRunInsideAWaitingLoginAndCloseWhileWaitingAreSafe) {
  FrmLogin& login = ShowLogin();
  SubmitLogin(login, u"first", u"pw", u"普通用户", false);
  login_delay_ = 300ms;
  // While the first reply is awaited, the user types another name and activates 登陆 again.
  login.CallAfter([&] {
    login.SetUserName(u"second");
    Press(login.cmdOK());
  });
  Press(login.cmdOK());
  // Both are on the wire at once: the service may see them in either order.
  std::vector<std::string> requests = LoginRequests();
  std::sort(requests.begin(), requests.end());
  EXPECT_EQ(requests, (std::vector<std::string>{"/user/denglu.asp?yh=first&pw=pw",
                                                "/user/denglu.asp?yh=second&pw=pw"}));
  // The title names the account in the box when the reply arrived.
  EXPECT_EQ(FromWx(form_->GetTitle()), SignedInTitle(options_.config, u"second", u"普通用户"));

  FrmLogin& shown = ShowLogin();
  const wxWeakRef<FrmLogin> closed(&shown);
  const wxString title = form_->GetTitle();
  SetLoginReply(u"VIP用户");
  shown.CallAfter([&] { shown.Close(); });
  Press(shown.cmdOK());
  EXPECT_TRUE(WaitFor("the closed window to be destroyed", [&] { return !closed; }));
  EXPECT_EQ(form_->GetTitle(), title) << "a closed window's login changed nothing";
}

// Step A, B and C of every start, from the credential file and the service's replies.
TEST_F(LoginWindowTest, StartUpSignsInWithTheSavedAccount) {
  struct Case {
    const char* name;
    std::optional<std::pair<std::u16string, std::u16string>> saved;  // nothing: no file
    std::u16string reply;
    std::u16string programmes;
    bool signed_in;
    std::vector<std::u16string> service_view;  // after "about:blank"
  };
  const std::u16string primary = options_.config.primary_host;
  const std::u16string tv = options_.config.tv_host;
  const std::u16string list = u"湖南卫视\r\nhttp://pages.test/hn\r\n";
  const std::u16string guest = GuestVerifyAddress(options_.config.primary_host);
  const auto at_primary = [&](const char16_t* user) { return VerifyAddress(primary, user); };
  const auto at_tv = [&](const char16_t* user) { return VerifyAddress(tv, user); };
  const std::u16string u_verified = at_primary(u"u");  // asked once for each level named
  using Saved = std::pair<std::u16string, std::u16string>;
  const Case cases[] = {
      {"no file", std::nullopt, u"VIP用户", list, false, {guest}},
      {"VIP", Saved{u"vip", u"vip888"}, u"VIP用户 欢迎", u"", true, {at_primary(u"vip")}},
      {"both levels", Saved{u"u", u"p"}, u"VIP用户普通用户", u"", true, {u_verified, u_verified}},
      {"refused", Saved{u"u", u"bad"}, u"账号或者密码错误", list, false, {guest, at_tv(u"u")}},
      {"no password", Saved{u"张三", u""}, u"VIP用户", list, false, {guest, at_tv(u"张三")}},
      {"no user", Saved{u"", u"p"}, u"VIP用户", list, false, {guest}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(CredentialFilePath(options_.app_folder));
    if (c.saved) {
      // Written as the file is, so a half-empty pair can be stored too.
      std::ofstream(CredentialFilePath(options_.app_folder), std::ios::binary)
          << Utf16ToUtf8(EncodeText(c.saved->first)) << "\r\n"
          << Utf16ToUtf8(EncodeText(c.saved->second)) << "\r\n";
    }
    SetLoginReply(c.reply);
    programme_reply_ = c.programmes;
    const std::size_t logins_before = LoginRequests().size();
    Form1& form = Start();

    std::vector<std::u16string> expected{u"about:blank"};
    expected.insert(expected.end(), c.service_view.begin(), c.service_view.end());
    EXPECT_EQ(ServiceView(), expected);
    const bool both_saved = c.saved && !c.saved->first.empty() && !c.saved->second.empty();
    EXPECT_EQ(LoginRequests().size() - logins_before, both_saved ? 1u : 0u);
    EXPECT_EQ(FromWx(form.GetTitle()), c.signed_in
                                           ? SignedInTitle(options_.config, c.saved->first, c.reply)
                                           : DesignTitle(options_.config));
    EXPECT_EQ(Probe(form).SavedUser(), c.saved ? c.saved->first : u"");
    FrmLogin* login = Probe(form).Login().Existing();
    if (!c.saved) {
      EXPECT_EQ(login, nullptr) << "a start without an account needs no login window";
    } else {
      // The first showing presents the saved account and the start-up reply.
      ASSERT_NE(login, nullptr);
      EXPECT_FALSE(login->IsShown());
      EXPECT_EQ(login->UserName(), c.saved->first);
      EXPECT_EQ(login->Password(), c.saved->second);
      EXPECT_EQ(login->Reply(), both_saved ? c.reply : u"");
    }
    testing::DestroyAndWait(form_);
    form_ = nullptr;
  }
}

TEST_F(LoginWindowTest, ClosingTheMainWindowTakesTheHiddenLoginWindowWithIt) {
  WriteCredentialFile(options_.app_folder, u"demo", u"pw");
  SetLoginReply(u"普通用户");
  Form1& form = Start();
  const wxWeakRef<FrmLogin> login(Probe(form).Login().Existing());
  ASSERT_TRUE(login);
  form.Close();
  EXPECT_TRUE(
      WaitFor("the hidden login window to go with the main window", [&] { return !login; }));
  form_ = nullptr;
}

}  // namespace
}  // namespace talvo
