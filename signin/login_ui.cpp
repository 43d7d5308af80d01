#include "signin/login_ui.h"

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "core/credential_file.h"
#include "core/fetcher.h"
#include "core/service_address.h"
#include "platform/accessible_ui.h"
#include "platform/app_icons.h"
#include "platform/fetch_wait.h"
#include "platform/save_notice_ui.h"
#include "platform/text_box_ui.h"
#include "platform/topmost.h"
#include "platform/twips_ui.h"
#include "platform/web/browser_view.h"
#include "platform/window_titles.h"
#include "platform/wx_text.h"
#include "signin/login.h"

namespace talvo {
namespace {

constexpr double kClientWidth = 3750;
constexpr double kClientHeight = 1890;
constexpr unsigned long kMaxBoxLength = 20;

constexpr TwipsRect kUserLabel{105, 150, 1080, 270};
constexpr TwipsRect kUserBox{930, 135, 2685, 345};
constexpr TwipsRect kPasswordLabel{105, 540, 1080, 270};
constexpr TwipsRect kPasswordBox{930, 525, 2685, 345};
constexpr TwipsRect kOkButton{120, 1020, 1140, 390};
constexpr TwipsRect kCancelButton{1320, 1020, 1140, 390};
constexpr TwipsRect kRegisterButton{2520, 1020, 1140, 390};
constexpr TwipsRect kReplyBox{0, 1440, 3735, 375};

}  // namespace

FrmLogin::FrmLogin(const WindowParts& parts)
    : wxDialog(parts.frame, wxID_ANY, ToWx(u"塔沃用户登录"), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxSTAY_ON_TOP),
      parts_(parts) {
  SetName("frmLogin");
  SetIcons(AppIcons());
  CreateControls();
  const double dpi = DesktopTextDpi();
  SetClientSize(TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi));
  CentreOnScreen();
  KeepOffTaskbar(this);

  user_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { RememberAccount(); });
  password_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { RememberAccount(); });
  ok_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { cmdOK_Click(); });
  cancel_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Hide(); });
  register_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    if (parts_.web_browser1)
      parts_.web_browser1->Navigate(RegistrationAddress(parts_.config->primary_host));
  });
  Bind(wxEVT_CLOSE_WINDOW, &FrmLogin::OnClose, this);
}

// Created in tab order; a box made after its label is drawn above the label's right end.
void FrmLogin::CreateControls() {
  auto* user_label = new wxStaticText(this, wxID_ANY, ToWx(u"用户(&U):"));
  PlaceInTwips(user_label, kUserLabel);
  user_ = new wxTextCtrl(this, wxID_ANY);
  user_->SetName("txtUserName");
  user_->SetMaxLength(kMaxBoxLength);
  PlaceInTwips(user_, kUserBox);
  LabelFor(user_label, user_);

  auto* password_label = new wxStaticText(this, wxID_ANY, ToWx(u"密码(&P):"));
  PlaceInTwips(password_label, kPasswordLabel);
  password_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                             wxTE_PASSWORD);
  password_->SetName("txtPassword");
  password_->SetMaxLength(kMaxBoxLength);
  MaskPassword(password_);
  PlaceInTwips(password_, kPasswordBox);
  LabelFor(password_label, password_);

  ok_ = new wxButton(this, wxID_ANY, ToWx(u"登陆"));
  ok_->SetName("cmdOK");
  PlaceInTwips(ok_, kOkButton);
  ok_->SetDefault();
  cancel_ = new wxButton(this, wxID_ANY, ToWx(u"取消"));
  cancel_->SetName("cmdCancel");
  PlaceInTwips(cancel_, kCancelButton);
  register_ = new wxButton(this, wxID_ANY, ToWx(u"用户注册"));
  register_->SetName("Command1");
  PlaceInTwips(register_, kRegisterButton);
  // Esc presses 用户注册, as the window was designed: its cancel button. It opens the service's
  // registration page and leaves the typed boxes as they are, so nothing typed is lost by it.
  SetEscapeId(register_->GetId());

  text1_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                          wxTE_READONLY);
  text1_->SetName("Text1");
  text1_->SetBackgroundColour(wxColour(224, 224, 224));
  PlaceInTwips(text1_, kReplyBox);
  // The service's reply is kept for the code, below the window's edge: nobody reads or tabs to it.
  PassOver(text1_, true);
  NameForReaders(user_, u"用户");
  NameForReaders(password_, u"密码");
}

std::u16string FrmLogin::UserName() const { return FromWx(user_->GetValue()); }
std::u16string FrmLogin::Password() const { return FromWx(password_->GetValue()); }
void FrmLogin::SetUserName(const std::u16string& text) { user_->SetValue(ToWx(text)); }
void FrmLogin::SetPassword(const std::u16string& text) { password_->SetValue(ToWx(text)); }

void FrmLogin::SetReply(const std::u16string& reply) {
  reply_ = reply;
  text1_->ChangeValue(ToWx(reply));
}

// Both boxes filled: the pair is remembered; otherwise the file keeps the last whole pair.
void FrmLogin::RememberAccount() {
  const SaveTrouble trouble = WriteCredentialFile(parts_.app_folder, UserName(), Password());
  if (parts_.save_notice) parts_.save_notice->Saved(u"账号", trouble);
}

void FrmLogin::cmdOK_Click() {
  if (UserName().empty() || Password().empty()) return;
  const std::u16string address = LoginAddress(parts_.config->primary_host, UserName(), Password());
  // The wait runs the event loop: the boxes may change, 登陆 may run again inside it, and the
  // window may be closed.
  const wxWeakRef<FrmLogin> self(this);
  const std::u16string reply = FetchPage(address, u"gb2312");
  if (!self || closing_) return;

  if (TakeLoginReply(reply, UserName(), true).rejected) SelectPasswordForRetyping();
}

LoginReplyMarks FrmLogin::TakeLoginReply(const std::u16string& reply, const std::u16string& user,
                                         bool hide) {
  SetReply(reply);
  const LoginReplyMarks marks = ReadLoginReply(Reply());
  // Kept as two tests and a second write on purpose: a reply with both marks shows the signed-in
  // state twice, as it always has, and the reply box ends with the reply whatever the handlers
  // above wrote into it. Merging them would change what such a reply does.
  if (marks.vip) ShowSignedIn(user, hide);
  if (marks.ordinary) ShowSignedIn(user, hide);
  SetReply(reply);
  return marks;
}

void FrmLogin::ShowSignedIn(const std::u16string& user, bool hide) {
  if (parts_.frame) parts_.frame->SetTitle(ToWx(SignedInTitle(*parts_.config, user, Reply())));
  if (hide) Hide();
  if (parts_.web_browser2) {
    parts_.web_browser2->Navigate(VerifyAddress(parts_.config->primary_host, user));
  }
}

// The caret to the start, then everything to the end selected: the next key replaces it.
void FrmLogin::SelectPasswordForRetyping() {
  password_->SetFocus();
  password_->SetSelection(0, password_->GetLastPosition());
}

void FrmLogin::OnClose(wxCloseEvent&) {
  closing_ = true;
  Hide();
  if (FetchWaitDepth() == 0) {
    Destroy();
    return;
  }
  // A login further down the stack still holds this window: destroy it once that has returned.
  RunWhenNoFetchWaits([self = wxWeakRef<FrmLogin>(this)] {
    if (self) self->Destroy();
  });
}

FrmLogin& LoginWindow::Get() {
  if (FrmLogin* existing = Existing()) return *existing;
  window_ = new FrmLogin(parts_);
  return *window_;
}

FrmLogin* LoginWindow::Existing() const {
  FrmLogin* window = window_.get();
  if (window == nullptr || window->Closing() || window->IsBeingDeleted()) return nullptr;
  return window;
}

void LoginWindow::Show() {
  FrmLogin& window = Get();
  window.Show();
  window.Raise();
}

void LoginWindow::Unload() {
  if (FrmLogin* window = window_.get(); window != nullptr && !window->IsBeingDeleted()) {
    window->Destroy();
  }
  window_ = nullptr;
}

void StartupSignIn::ReadSavedAccount() {
  const StoredAccount saved = ReadCredentialFile(parts_.app_folder);
  saved_user_ = saved.user;
  saved_password_ = saved.password;
  if (saved_user_.empty() && saved_password_.empty()) return;
  FillLoginBoxes();
}

// As typing would: the second assignment rewrites the credential file with fresh scrambling.
void StartupSignIn::FillLoginBoxes() {
  FrmLogin& window = login_.Get();
  window.SetUserName(saved_user_);
  window.SetPassword(saved_password_);
}

bool StartupSignIn::SignIn() {
  if (saved_user_.empty() || saved_password_.empty()) {
    parts_.web_browser2->Navigate(GuestVerifyAddress(parts_.config->primary_host));
    return true;
  }
  FillLoginBoxes();
  return SendLogin(false);
}

bool StartupSignIn::SignInAgain() { return HasLevel() || SendLogin(true); }

// Tried again and still unreachable: the window stays as the start left it.
bool StartupSignIn::SendLogin(bool again) {
  const FetchedText fetched = FetchPageReply(
      LoginAddress(parts_.config->primary_host, saved_user_, saved_password_), u"gb2312");
  if (again && fetched.unreachable) return false;
  // The login window is the record of the level; it may have been closed while the request
  // waited, and is then made anew. A window the viewer has open stays open.
  const LoginReplyMarks marks = login_.Get().TakeLoginReply(fetched.text, saved_user_, false);
  if (!marks.SignedIn() && parts_.web_browser2) {
    parts_.web_browser2->Navigate(GuestVerifyAddress(parts_.config->primary_host));
  }
  return !fetched.unreachable;
}

// A start without a login window never wrote a reply: it has no level.
bool StartupSignIn::HasLevel() const {
  const FrmLogin* window = login_.Existing();
  return window != nullptr && ReadLoginReply(window->Reply()).SignedIn();
}

void StartupSignIn::VerifyOnTvHost() {
  if (HasLevel() || saved_user_.empty()) return;
  parts_.web_browser2->Navigate(VerifyAddress(parts_.config->tv_host, saved_user_));
}

}  // namespace talvo
