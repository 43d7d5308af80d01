// The login window frmLogin: the account boxes, remembered on every change; 登陆 sends the login
// request and shows the account level in the main window; 用户注册 opens the registration page.
// One instance per process, created hidden on first use (LoginWindow).
//
// And the sign-in of every start, without showing the login window (StartupSignIn): the saved
// account is read and put into the login window's boxes (step A), the login request decides the
// title and the service view's verify page (step B), and a start whose sign-in gave no level
// verifies on the TV host once that host's programme list has been taken (step C).
#pragma once

#include <wx/dialog.h>
#include <wx/weakref.h>

#include <string>

#include "platform/window_parts.h"
#include "signin/login.h"

class wxButton;
class wxStaticText;
class wxTextCtrl;

namespace talvo {

// The login window reaches the main window (its owner, whose title shows the account), the
// credential file in the application folder, the playback view (the registration page) and the
// service view (the verify page). It keeps a copy of the parts: it may outlive whoever made it
// by the moment its own deletion takes.
class FrmLogin final : public wxDialog {
 public:
  explicit FrmLogin(const WindowParts& parts);

  std::u16string UserName() const;
  std::u16string Password() const;
  // As typing would: the change handler runs and may write the credential file.
  void SetUserName(const std::u16string& text);
  void SetPassword(const std::u16string& text);
  // Text1, the last login reply, kept whole; the box shows as much of it as it can.
  const std::u16string& Reply() const { return reply_; }
  void SetReply(const std::u16string& reply);

  // 登陆.
  void cmdOK_Click();
  // What a login reply does, from 登陆 or from the start: the reply box takes it, and each mark
  // of a level puts `user` and the level in the title and opens the account's verify page (this
  // window hides too when `hide`). The marks are what the box holds.
  LoginReplyMarks TakeLoginReply(const std::u16string& reply, const std::u16string& user,
                                 bool hide);
  // Closed with the close box while a request waits: on its way out, no longer the instance.
  bool Closing() const { return closing_; }

  wxTextCtrl* txtUserName() const { return user_; }
  wxTextCtrl* txtPassword() const { return password_; }
  wxTextCtrl* Text1() const { return text1_; }
  wxButton* cmdOK() const { return ok_; }
  wxButton* cmdCancel() const { return cancel_; }

 private:
  void CreateControls();
  void RememberAccount();
  void ShowSignedIn(const std::u16string& user, bool hide);
  void SelectPasswordForRetyping();
  void OnClose(wxCloseEvent& event);

  WindowParts parts_;
  wxTextCtrl* user_ = nullptr;
  wxTextCtrl* password_ = nullptr;
  wxButton* ok_ = nullptr;
  wxButton* cancel_ = nullptr;
  wxButton* register_ = nullptr;
  wxTextCtrl* text1_ = nullptr;
  std::u16string reply_;
  bool closing_ = false;
};

// The one login window of the process.
class LoginWindow {
 public:
  explicit LoginWindow(const WindowParts& parts) : parts_(parts) {}

  // The window, created hidden when there is none.
  FrmLogin& Get();
  // The window if it exists; nothing is created.
  FrmLogin* Existing() const;
  // The account menu: visible and modeless, created first when needed.
  void Show();
  // The main window is closing: the login window goes with it, shown or hidden.
  void Unload();

 private:
  WindowParts parts_;
  wxWeakRef<FrmLogin> window_;
};

class StartupSignIn {
 public:
  // `login` is the process's login window, made from the same parts.
  StartupSignIn(const WindowParts& parts, LoginWindow& login) : parts_(parts), login_(login) {}

  // Step A. Sets SavedUser and SavedPassword, once per start.
  void ReadSavedAccount();
  // Step B. False when the service could not be reached: the start signs in again once it
  // answers, through SignInAgain.
  bool SignIn();
  // The login request of step B once more, with the boxes as the user may have left them since;
  // nothing when a sign-in since (the login window's) already gave a level. False as above.
  bool SignInAgain();
  // Step C, run right after the TV host's programme list was taken.
  void VerifyOnTvHost();

  const std::u16string& SavedUser() const { return saved_user_; }
  const std::u16string& SavedPassword() const { return saved_password_; }

 private:
  void FillLoginBoxes();
  bool SendLogin(bool again);
  bool HasLevel() const;

  const WindowParts& parts_;
  LoginWindow& login_;
  std::u16string saved_user_;
  std::u16string saved_password_;
};

}  // namespace talvo
