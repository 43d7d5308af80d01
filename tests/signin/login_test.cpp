#include "signin/login.h"

#include <gtest/gtest.h>

#include "core/service_address.h"
#include "platform/config.h"
#include "platform/window_titles.h"

namespace talvo {
namespace {

TEST(ReadLoginReply, EachMarkerIsFoundOnItsOwnAnywhereInTheReply) {
  struct Case {
    std::u16string reply;
    bool vip, ordinary, rejected;
  };
  const Case cases[] = {
      {u"VIP用户", true, false, false},
      {u"普通用户", false, true, false},
      {u"账号或者密码错误", false, false, true},
      {u"", false, false, false},
      {u"欢迎您，尊贵的VIP用户！\r\n到期：2027-01-01", true, false, false},
      {u"VIP用户 普通用户 账号或者密码错误", true, true, true},
      {u"vip用户", false, false, false},             // case-sensitive
      {u"VIP 用户 普通 用户", false, false, false},  // the marker whole, nothing between
  };
  for (const Case& c : cases) {
    const LoginReplyMarks marks = ReadLoginReply(c.reply);
    EXPECT_EQ(marks.vip, c.vip) << testing::PrintToString(c.reply);
    EXPECT_EQ(marks.ordinary, c.ordinary) << testing::PrintToString(c.reply);
    EXPECT_EQ(marks.rejected, c.rejected) << testing::PrintToString(c.reply);
    EXPECT_EQ(marks.SignedIn(), c.vip || c.ordinary);
  }
}

TEST(SignedInTitle, CarriesTheUserABlankAndTheWholeReplyBeforeTheContacts) {
  Config config;
  config.product_site = u"www.example.test";
  config.primary_host = u"user.example.test:8080";
  config.report_email = u"bug@example.test";
  const std::u16string suffix =
      u" 官方网站：http://www.example.test 备用网站：http://user.example.test:8080 报错登记：bug@example.test";
  EXPECT_EQ(ContactSuffix(config), suffix);
  EXPECT_EQ(DesignTitle(config), u"塔沃高清影音 V2.02" + suffix);
  EXPECT_EQ(SignedInTitle(config, u"demo_vip", u"VIP用户"),
            u"塔沃高清影音 V2.02 账号：demo_vip VIP用户" + suffix);
  // Line breaks and all: the reply is never trimmed.
  EXPECT_EQ(SignedInTitle(config, u"张三", u"普通用户\r\n"),
            u"塔沃高清影音 V2.02 账号：张三 普通用户\r\n" + suffix);
  // A level written straight after another word is still a sign-in, but no " VIP用户".
  EXPECT_EQ(SignedInTitle(config, u"u", u"尊贵VIP用户").find(u" VIP用户"), std::u16string::npos);
}

// The values' coding is the query's own (EncodeQueryValue); the login window's test sends one.
TEST(SignInAddresses, EachPageOfTheSignInHasItsAddressOnItsHost) {
  Config config;
  config.primary_host = u"127.0.0.1:8080";
  EXPECT_EQ(LoginAddress(config.primary_host, u"demo_vip", u"vip888"),
            u"http://127.0.0.1:8080/user/denglu.asp?yh=demo_vip&pw=vip888");
  EXPECT_EQ(VerifyAddress(u"tv.test", u"张三"), u"http://tv.test/user/yanzhen.asp?yh=%D5%C5%C8%FD");
  EXPECT_EQ(GuestVerifyAddress(config.primary_host),
            u"http://127.0.0.1:8080/user/yanzhen.asp?yh=guest");
  EXPECT_EQ(RegistrationAddress(config.primary_host), u"http://127.0.0.1:8080/user/reg.asp");
}

}  // namespace
}  // namespace talvo
