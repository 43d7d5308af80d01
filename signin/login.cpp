#include "signin/login.h"

namespace talvo {

LoginReplyMarks ReadLoginReply(std::u16string_view reply) {
  const auto has = [reply](std::u16string_view marker) {
    return reply.find(marker) != std::u16string_view::npos;
  };
  return {has(u"VIP用户"), has(u"普通用户"), has(u"账号或者密码错误")};
}

}  // namespace talvo
