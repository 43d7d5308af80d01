// What the sign-in reads from the service and the addresses it uses: plain functions, no window.
#pragma once

#include <string>
#include <string_view>

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

}  // namespace talvo
