// The login window frmLogin: the account boxes, remembered on every change; 登陆 sends the login
// request and shows the account level in the main window; 用户注册 opens the registration page.
// One instance per process, created hidden on first use (LoginWindow).
#pragma once

#include <wx/dialog.h>
#include <wx/weakref.h>

#include <filesystem>
#include <string>

#include "platform/config.h"

class wxButton;
class wxStaticText;
class wxTextCtrl;
class wxTopLevelWindow;

namespace talvo {

class BrowserView;

// What the login window reaches outside itself.
struct LoginContext {
  const Config* config = nullptr;
  std::filesystem::path app_folder;         // where the credential file is written
  wxTopLevelWindow* main_window = nullptr;  // owner; its title shows the account
  BrowserView* playback = nullptr;          // WebBrowser1: the registration page
  BrowserView* service = nullptr;           // WebBrowser2: the verify page
};

class FrmLogin final : public wxDialog {
 public:
  explicit FrmLogin(const LoginContext& context);

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
  // Closed with the close box while a request waits: on its way out, no longer the instance.
  bool Closing() const { return closing_; }

  wxTextCtrl* txtUserName() const { return user_; }
  wxTextCtrl* txtPassword() const { return password_; }
  wxTextCtrl* Text1() const { return text1_; }
  wxButton* cmdOK() const { return ok_; }
  wxButton* cmdCancel() const { return cancel_; }
  wxButton* Command1() const { return register_; }

 private:
  void CreateControls();
  void RememberAccount();
  void ShowSignedIn();
  void SelectPasswordForRetyping();
  void OnClose(wxCloseEvent& event);

  LoginContext context_;
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
  explicit LoginWindow(LoginContext context) : context_(std::move(context)) {}

  // The window, created hidden when there is none.
  FrmLogin& Get();
  // The window if it exists; nothing is created.
  FrmLogin* Existing() const;
  // The account menu: visible and modeless, created first when needed.
  void Show();
  // The main window is closing: the login window goes with it, shown or hidden.
  void Unload();

 private:
  LoginContext context_;
  wxWeakRef<FrmLogin> window_;
};

}  // namespace talvo
