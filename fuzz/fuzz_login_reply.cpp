// Any login reply, as the user meets it: a level or a refusal counts wherever the reply says it,
// so more text around a reply never takes one away; the signed-in title carries the user and the
// whole reply and ends with the contacts; a reply that begins with the VIP level gives the VIP
// title.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/utf.h"
#include "mainwindow/layout.h"
#include "platform/window_titles.h"
#include "signin/login.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string reply =
      talvo::Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  const talvo::LoginReplyMarks marks = talvo::ReadLoginReply(reply);
  const talvo::LoginReplyMarks wrapped = talvo::ReadLoginReply(u"欢迎" + reply + u"\r\n");
  if ((marks.vip && !wrapped.vip) || (marks.ordinary && !wrapped.ordinary) ||
      (marks.rejected && !wrapped.rejected)) {
    std::abort();
  }
  const talvo::Config config;
  const std::u16string title = talvo::SignedInTitle(config, u"user", reply);
  if (title.find(u"账号：user " + reply) == std::u16string::npos) std::abort();
  if (!title.ends_with(talvo::ContactSuffix(config))) std::abort();
  if (reply.starts_with(u"VIP用户") && !talvo::IsVipTitle(title)) std::abort();
  return 0;
}
