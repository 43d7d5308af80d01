// What the sign-in reads from the service and the addresses it uses: plain functions, no window.
#pragma once

#include <string>
#include <string_view>

#include "platform/config.h"

namespace talvo {

// The three markers of a login reply, each found anywhere in the reply, case-sensitively. They are
// independent: a reply may carry more than one, and each one present has its reaction.
struct LoginReplyMarks {
  bool vip = false;       // "VIP用户"
  bool ordinary = false;  // "普通用户"
  bool rejected = false;  // "账号或者密码错误"

  bool SignedIn() const { return vip || ordinary; }
};
LoginReplyMarks ReadLoginReply(std::u16string_view reply);

// "/user/denglu.asp?yh=<user>&pw=<password>" on the primary host, values percent-encoded.
std::u16string LoginAddress(const Config& config, std::u16string_view user,
                            std::u16string_view password);
// "/user/yanzhen.asp?yh=<user>" on `host` (the primary host, or the TV host at start-up).
std::u16string VerifyAddress(std::u16string_view host, std::u16string_view user);
// The same page for no account: "yh=guest" on the primary host.
std::u16string GuestVerifyAddress(const Config& config);
// "/user/reg.asp" on the primary host.
std::u16string RegistrationAddress(const Config& config);

}  // namespace talvo
