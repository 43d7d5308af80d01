// The sign-in of every start, without showing the login window: the saved account is read and
// put into the login window's boxes (step A), the login request decides the title and the
// service view's verify page (step B), and a start whose sign-in gave no level verifies on the
// TV host once that host's programme list has been taken (step C).
#pragma once

#include <string>

#include "signin/login_ui.h"

namespace talvo {

class StartupSignIn {
 public:
  // `login` is the process's login window; `context` the same one it was made with.
  StartupSignIn(LoginWindow& login, const LoginContext& context)
      : login_(login), context_(context) {}

  // Step A. Sets SavedUser and SavedPassword, once per start.
  void ReadSavedAccount();
  // Step B.
  void SignIn();
  // Step C, run right after the TV host's programme list was taken.
  void VerifyOnTvHost();

  const std::u16string& SavedUser() const { return saved_user_; }
  const std::u16string& SavedPassword() const { return saved_password_; }

 private:
  void FillLoginBoxes();
  void ShowSignedIn(const std::u16string& reply);

  LoginWindow& login_;
  LoginContext context_;
  std::u16string saved_user_;
  std::u16string saved_password_;
};

}  // namespace talvo
