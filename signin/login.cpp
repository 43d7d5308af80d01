#include "signin/login.h"

#include "core/service_address.h"

namespace talvo {

LoginReplyMarks ReadLoginReply(std::u16string_view reply) {
  const auto has = [reply](std::u16string_view marker) {
    return reply.find(marker) != std::u16string_view::npos;
  };
  return {has(u"VIP用户"), has(u"普通用户"), has(u"账号或者密码错误")};
}

std::u16string LoginAddress(const Config& config, std::u16string_view user,
                            std::u16string_view password) {
  return ServiceUrl(config.primary_host, u"/user/denglu.asp",
                    u"yh=" + EncodeQueryValue(user) + u"&pw=" + EncodeQueryValue(password));
}

std::u16string VerifyAddress(std::u16string_view host, std::u16string_view user) {
  return ServiceUrl(host, u"/user/yanzhen.asp", u"yh=" + EncodeQueryValue(user));
}

std::u16string GuestVerifyAddress(const Config& config) {
  return ServiceUrl(config.primary_host, u"/user/yanzhen.asp", u"yh=guest");
}

std::u16string RegistrationAddress(const Config& config) {
  return ServiceUrl(config.primary_host, u"/user/reg.asp");
}

}  // namespace talvo
