// The demo service answers the way the client expects, read with the client's own fetcher.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "core/fetcher.h"
#include "core/service_address.h"
#include "core/utf.h"
#include "tests/support/client_harness.h"

namespace talvo::e2e {
namespace {

class DemoServiceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FetchLimits limits;
    limits.total = std::chrono::milliseconds(3000);
    SetFetchLimits(limits);
  }

  std::u16string Get(DemoService& service, const std::u16string& path_and_query) {
    return FetchPage(u"http://" + Utf8ToUtf16(service.HostPort()) + path_and_query, u"gb2312");
  }

  std::u16string Login(DemoService& service, const std::u16string& user, const std::u16string& pw) {
    return Get(service,
               u"/user/denglu.asp?yh=" + EncodeQueryValue(user) + u"&pw=" + EncodeQueryValue(pw));
  }
};

TEST_F(DemoServiceTest, AccountsAnswerWithTheirLevelAndEverythingElseIsRejected) {
  DemoService service(NewWorkDir("demo-logins"));
  EXPECT_EQ(Login(service, u"demo_vip", u"vip888").rfind(u"VIP用户", 0), 0u);
  EXPECT_EQ(Login(service, u"demo_user", u"user888").rfind(u"普通用户", 0), 0u);
  EXPECT_EQ(Login(service, u"张三", u"密码123").rfind(u"普通用户", 0), 0u);
  EXPECT_NE(Login(service, u"demo_vip", u"wrong").find(u"账号或者密码错误"), std::u16string::npos);
  EXPECT_NE(Login(service, u"a&b", u"x y").find(u"账号或者密码错误"), std::u16string::npos);
  EXPECT_EQ(service.RequestsFor("/user/denglu.asp")[2].query, "yh=%D5%C5%C8%FD&pw=%C3%DC%C2%EB123");
}

TEST_F(DemoServiceTest, ListsAndVerifyPagesCarryWhatTheClientLooksFor) {
  DemoService service(NewWorkDir("demo-pages"));
  const std::u16string programmes = Get(service, u"/user/jiemubiao.asp?yh=");
  EXPECT_NE(programmes.find(u"卫视"), std::u16string::npos);
  EXPECT_NE(programmes.find(u"\r\nhttp://" + Utf8ToUtf16(service.HostPort()) + u"/usbtv/"),
            std::u16string::npos);
  EXPECT_NE(Get(service, u"/user/diantaibiao.asp?yh=").find(u"广播"), std::u16string::npos);
  const std::u16string member = Get(service, u"/user/yanzhen.asp?yh=demo_vip");
  const std::u16string guest = Get(service, u"/user/yanzhen.asp?yh=guest");
  for (const std::u16string& page : {member, guest}) {
    const auto open = page.find(u"$$$*");
    ASSERT_NE(open, std::u16string::npos);
    const auto close = page.find(u"*$$$", open + 4);
    ASSERT_NE(close, std::u16string::npos);
    const std::u16string block = page.substr(open + 4, close - open - 4);
    EXPECT_EQ(std::count(block.begin(), block.end(), u'*'), 11) << "six title/link pairs";
  }
  EXPECT_NE(member, guest);
}

TEST_F(DemoServiceTest, DelaysAndFailuresPerPath) {
  DemoService service(NewWorkDir("demo-failures"),
                      {"--delay-ms", "/user/reg.asp=400", "--fail", "/user/jiemubiao.asp=500",
                       "--fail", "/user/diantaibiao.asp=close", "--fail", "/user/denglu.asp=hang"});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Get(service, u"/user/reg.asp").empty());
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
  EXPECT_EQ(Get(service, u"/user/jiemubiao.asp?yh="), u"服务器内部错误 500");
  EXPECT_EQ(Get(service, u"/user/diantaibiao.asp?yh="), u"");
  EXPECT_EQ(Login(service, u"demo_vip", u"vip888"), u"") << "a request that is never answered";
}

}  // namespace
}  // namespace talvo::e2e
