#include "platform/config.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/scratch.h"

namespace talvo {
namespace {

TEST(ParseConfig, ReadsBothSectionsAndKeepsDefaultsForTheRest) {
  const Config config = ParseConfig(
      "; demo service\n"
      "[service]\r\n"
      "  primary_host = 127.0.0.1:8080  \r\n"
      "tv_host=http://tv.local:81/\n"
      "report_email = 报错@example.com\n"
      "unknown = 1\n"
      "[network]\n"
      "connect_timeout_ms = 750\n"
      "request_timeout_ms = soon\n"
      "no equals sign here\n");
  EXPECT_EQ(config.primary_host, u"127.0.0.1:8080");
  EXPECT_EQ(config.tv_host, u"http://tv.local:81/");
  EXPECT_EQ(config.report_email, u"报错@example.com");
  EXPECT_EQ(config.channel_host, Config{}.channel_host);
  EXPECT_EQ(config.connect_timeout, std::chrono::milliseconds(750));
  EXPECT_EQ(config.request_timeout, Config{}.request_timeout);
}

TEST(ParseConfig, KeysOutsideTheirSectionAndNonPositiveLimitsAreIgnored) {
  const Config config = ParseConfig(
      "primary_host = stray\n[network]\nprimary_host = wrong\nconnect_timeout_ms = 0\n"
      "request_timeout_ms = -5\n");
  EXPECT_EQ(config.primary_host, Config{}.primary_host);
  EXPECT_EQ(config.connect_timeout, Config{}.connect_timeout);
  EXPECT_EQ(config.request_timeout, Config{}.request_timeout);
}

TEST(ParseConfig, TheProxyIsTheSystemsNoneOrAHostAndPortAndAnythingElseKeepsTheSystems) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "system"},
      {"proxy = none", "none"},
      {"proxy = NONE", "none"},
      {"proxy = http://127.0.0.1:3128", "http://127.0.0.1:3128"},
      {"proxy = SOCKS5://Proxy.Example:1080/", "socks5://proxy.example:1080"},
      {"proxy = http://[::1]:8080", "http://[::1]:8080"},
      {"proxy = http://proxy.example", "system"},             // no port
      {"proxy = http://proxy.example:0", "system"},           //
      {"proxy = http://proxy.example:70000", "system"},       //
      {"proxy = http://user:pw@proxy.example:80", "system"},  // credentials
      {"proxy = http://proxy.example:80/path", "system"},     //
      {"proxy = https://proxy.example:443", "system"},        // not a scheme both can use
      {"proxy = proxy.example:3128", "system"},               //
      {"proxy = http://::1:8080", "system"},                  // IPv6 without brackets
  };
  for (const auto& [line, proxy] : cases) {
    EXPECT_EQ(ParseConfig(std::string("[network]\n") + line).proxy, proxy) << line;
  }
}

TEST(LoadConfig, MissingFileGivesTheDefaultsAndOnlyTheHeadOfAHugeFileIsRead) {
  EXPECT_EQ(LoadConfig("/nonexistent-folder").tv_host, Config{}.tv_host);

  const testing::TempFolder folder("config");
  {
    std::ofstream out(folder / "talvo.ini", std::ios::binary);
    out << "[service]\nprimary_host = head.test\n"
        << std::string(70 * 1024, ';') << "\n"
        << "tv_host = tail.test\n";
  }
  const Config config = LoadConfig(folder);
  EXPECT_EQ(config.primary_host, u"head.test");
  EXPECT_EQ(config.tv_host, Config{}.tv_host) << "a line past the first 64 KiB was read";
  // Grown to 1 GiB: still only its head. A folder of that name: the defaults.
  std::filesystem::resize_file(folder / "talvo.ini", std::uintmax_t{1} << 30);
  EXPECT_EQ(LoadConfig(folder).primary_host, u"head.test");
  std::filesystem::remove(folder / "talvo.ini");
  std::filesystem::create_directory(folder / "talvo.ini");
  EXPECT_EQ(LoadConfig(folder).primary_host, Config{}.primary_host);
}

}  // namespace
}  // namespace talvo
