// Any login reply: the markers agree with a plain search, the signed-in title carries the whole
// reply after a blank, and a reply that begins with the VIP level gives the VIP form.
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
  if (marks.vip != (reply.find(u"VIP用户") != std::u16string::npos)) std::abort();
  if (marks.rejected != (reply.find(u"账号或者密码错误") != std::u16string::npos)) std::abort();
  const talvo::Config config;
  const std::u16string title = talvo::SignedInTitle(config, u"user", reply);
  if (title.find(u" " + reply) == std::u16string::npos) std::abort();
  if (reply.rfind(u"VIP用户", 0) == 0 && !talvo::IsVipTitle(title)) std::abort();
  return 0;
}
