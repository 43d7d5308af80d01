// The main window's fixed design: title, client size and control rectangles, in twips.
#pragma once

#include <string>

#include "core/service_address.h"
#include "platform/config.h"
#include "platform/twips.h"

namespace talvo::design {

inline constexpr double kClientWidth = 13755;
inline constexpr double kClientHeight = 8700;

inline constexpr TwipsRect kText1{240, 7320, 1455, 375};
inline constexpr TwipsRect kText2{2280, 1440, 6975, 4815};
inline constexpr TwipsRect kList2{0, 0, 1935, 4860};
inline constexpr TwipsRect kWebBrowser2{2040, 7200, 11295, 1455};
inline constexpr TwipsRect kWebBrowser1{5040, 0, 8775, 4455};
inline constexpr TwipsRect kList1{0, 360, 1935, 3900};
inline constexpr TwipsRect kCommand3{960, 0, 975, 375};
inline constexpr TwipsRect kCommand2{0, 0, 975, 375};
inline constexpr TwipsRect kImage1{1950, 3720, 75, 795};

inline const std::u16string kProductTitle = u"塔沃高清影音 V2.02";

// " 官方网站：http://<product site> 备用网站：http://<primary host> 报错登记：<e-mail>", shared by the
// design title and the signed-in title.
inline std::u16string ContactSuffix(const Config& config) {
  return u" 官方网站：" + ServiceUrl(config.product_site, u"") + u" 备用网站：" +
         ServiceUrl(config.primary_host, u"") + u" 报错登记：" + config.report_email;
}

inline std::u16string DesignTitle(const Config& config) {
  return kProductTitle + ContactSuffix(config);
}

}  // namespace talvo::design
