#include "core/service_address.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

TEST(EncodeQueryValue, KeepsUnreservedAsciiAndEncodesTheRestAsGbk) {
  EXPECT_EQ(EncodeQueryValue(u"viewer_01.A-~"), u"viewer_01.A-~");
  EXPECT_EQ(EncodeQueryValue(u"a&b=c#d e+f%"), u"a%26b%3Dc%23d%20e%2Bf%25");
  EXPECT_EQ(EncodeQueryValue(u"张三"), u"%D5%C5%C8%FD");
  EXPECT_EQ(EncodeQueryValue(u""), u"");
}

TEST(ServiceUrl, JoinsSchemeHostPathAndQuery) {
  EXPECT_EQ(ServiceUrl(u"tv.example:8080", u"/user/jiemubiao.asp", u"yh="),
            u"http://tv.example:8080/user/jiemubiao.asp?yh=");
  EXPECT_EQ(ServiceUrl(u"https://secure.example/", u"/user/reg.asp"),
            u"https://secure.example/user/reg.asp");
  EXPECT_EQ(ServiceUrl(u"HTTP://x.example", u"/usbtv/bjwsgq.html"),
            u"HTTP://x.example/usbtv/bjwsgq.html");
}

TEST(IsWebAddress, OnlyHttpAndHttps) {
  EXPECT_TRUE(IsWebAddress(u"http://x/a"));
  EXPECT_TRUE(IsWebAddress(u"HTTPS://x/a"));
  EXPECT_FALSE(IsWebAddress(u"javascript:alert(1)"));
  EXPECT_FALSE(IsWebAddress(u"file:///etc/passwd"));
  EXPECT_FALSE(IsWebAddress(u" http://x/"));
  EXPECT_FALSE(IsWebAddress(u"http:"));
  EXPECT_FALSE(IsWebAddress(u""));
}

}  // namespace
}  // namespace talvo
