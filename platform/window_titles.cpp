#include "platform/window_titles.h"

#include "core/service_address.h"

namespace talvo {

std::u16string ContactSuffix(const Config& config) {
  return u" 官方网站：" + ServiceUrl(config.product_site, u"") + u" 备用网站：" +
         ServiceUrl(config.primary_host, u"") + u" 报错登记：" + config.report_email;
}

std::u16string DesignTitle(const Config& config) {
  return std::u16string(kProductTitle) + ContactSuffix(config);
}

std::u16string SignedInTitle(const Config& config, std::u16string_view user,
                             std::u16string_view reply) {
  std::u16string title(kProductTitle);
  title += u" 账号：";
  title += user;
  title += u' ';
  title += reply;
  return title + ContactSuffix(config);
}

}  // namespace talvo
