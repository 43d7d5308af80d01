#include "signin/startup_signin.h"

#include <wx/toplevel.h>

#include "core/credential_file.h"
#include "core/fetcher.h"
#include "platform/browser_view.h"
#include "platform/window_titles.h"
#include "platform/wx_text.h"
#include "signin/login.h"

namespace talvo {

void StartupSignIn::ReadSavedAccount() {
  const StoredAccount saved = ReadCredentialFile(context_.app_folder);
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

void StartupSignIn::SignIn() {
  BrowserView& service = *context_.service;
  if (saved_user_.empty() || saved_password_.empty()) {
    service.Navigate(GuestVerifyAddress(*context_.config));
    return;
  }
  FillLoginBoxes();
  const std::u16string reply =
      FetchPage(LoginAddress(*context_.config, saved_user_, saved_password_), u"gb2312");
  // The login window is the record of the level; it may have been closed while the request
  // waited, and is then made anew.
  login_.Get().SetReply(reply);
  const LoginReplyMarks marks = ReadLoginReply(login_.Get().Reply());
  // Two separate tests and a second write of the same reply, kept on purpose: a reply that
  // carries both marks signs in twice, as it always has, and the reply box ends with the reply
  // whatever ran before. Merging them would change what such a reply does.
  if (marks.vip) ShowSignedIn(reply);
  if (marks.ordinary) ShowSignedIn(reply);
  login_.Get().SetReply(reply);
  if (!marks.SignedIn()) service.Navigate(GuestVerifyAddress(*context_.config));
}

void StartupSignIn::ShowSignedIn(const std::u16string& reply) {
  context_.main_window->SetTitle(ToWx(SignedInTitle(*context_.config, saved_user_, reply)));
  context_.service->Navigate(VerifyAddress(context_.config->primary_host, saved_user_));
}

void StartupSignIn::VerifyOnTvHost() {
  // A start without a login window never wrote a reply: it has no level.
  const FrmLogin* window = login_.Existing();
  const bool signed_in = window != nullptr && ReadLoginReply(window->Reply()).SignedIn();
  if (signed_in || saved_user_.empty()) return;
  context_.service->Navigate(VerifyAddress(context_.config->tv_host, saved_user_));
}

}  // namespace talvo
