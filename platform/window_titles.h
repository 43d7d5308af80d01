// The main window's titles. Both the main window and the sign-in build them, so they live below
// both.
#pragma once

#include <string>
#include <string_view>

#include "platform/config.h"

namespace talvo {

inline constexpr std::u16string_view kProductTitle = u"塔沃高清影音 V2.02";

// " 官方网站：http://<product site> 备用网站：http://<primary host> 报错登记：<e-mail>".
std::u16string ContactSuffix(const Config& config);

// The title the window opens with, and keeps for a guest.
std::u16string DesignTitle(const Config& config);

// After a sign-in: "塔沃高清影音 V2.02 账号：" + user + " " + the whole reply + the contact suffix.
// The blank before the reply is what the layout looks for (" VIP用户").
std::u16string SignedInTitle(const Config& config, std::u16string_view user,
                             std::u16string_view reply);

}  // namespace talvo
