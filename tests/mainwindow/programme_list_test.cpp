#include <gtest/gtest.h>

#include <map>

#include "mainwindow/channel_table.h"
#include "mainwindow/line_pairs.h"
#include "mainwindow/programme_list.h"

namespace talvo {
namespace {

TEST(ParseLinePairs, TakesLinesInPairsAndIgnoresALoneLastLine) {
  const auto pairs = ParseLinePairs(u"A\r\nhttp://x/a\r\nB\r\nhttp://x/b\r\n");
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].name, u"A");
  EXPECT_EQ(pairs[1].address, u"http://x/b");
  EXPECT_EQ(ParseLinePairs(u"A\r\nhttp://x/a\r\nC").size(), 1u);
  EXPECT_TRUE(ParseLinePairs(u"").empty());
  EXPECT_TRUE(ParseLinePairs(u"卫视 only one line").empty());
}

TEST(ParseLinePairs, OnlyCrLfEndsALineAndNothingIsTrimmed) {
  const auto pairs = ParseLinePairs(u" A\nB \r\n\rhttp://x/a\r\n\r\n\r\n");
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].name, u" A\nB ");
  EXPECT_EQ(pairs[0].address, u"\rhttp://x/a");
  EXPECT_EQ(pairs[1].name, u"");  // an empty name gives an empty entry
  EXPECT_EQ(pairs[1].address, u"");
}

// Replies by address, and the order they were asked for.
struct FakeService {
  std::map<std::u16string, std::u16string> replies;
  std::vector<std::u16string> asked;
  PageFetch Fetch() {
    return [this](const std::u16string& url) {
      asked.push_back(url);
      const auto found = replies.find(url);
      return found == replies.end() ? std::u16string() : found->second;
    };
  }
};

TEST(FetchProgrammeReply, TvHostReplyWithTheMarkerIsTakenAndThePrimaryIsNotAsked) {
  FakeService service;
  service.replies[u"tv"] = u"北京卫视\r\nhttp://x/a\r\n";
  std::u16string buffer;
  int hook_runs = 0;
  FetchProgrammeReply(service.Fetch(), u"tv", u"primary", buffer, [&] { ++hook_runs; });
  EXPECT_EQ(buffer, u"北京卫视\r\nhttp://x/a\r\n");
  EXPECT_EQ(service.asked, std::vector<std::u16string>{u"tv"});
  EXPECT_EQ(hook_runs, 1);
}

TEST(FetchProgrammeReply, RejectedTvReplyFallsBackToThePrimaryHost) {
  FakeService service;
  service.replies[u"tv"] = u"服务器忙\r\nhttp://x/a\r\n";
  service.replies[u"primary"] = u"湖南卫视\r\nhttp://x/b\r\n";
  std::u16string buffer;
  int hook_runs = 0;
  FetchProgrammeReply(service.Fetch(), u"tv", u"primary", buffer, [&] { ++hook_runs; });
  EXPECT_EQ(buffer, u"湖南卫视\r\nhttp://x/b\r\n");
  EXPECT_EQ(service.asked, (std::vector<std::u16string>{u"tv", u"primary"}));
  EXPECT_EQ(hook_runs, 0) << "the hook belongs to the TV host's reply only";
}

TEST(FetchProgrammeReply, ShortAcceptedReplyStillAsksThePrimaryHost) {
  FakeService service;
  service.replies[u"tv"] = u"卫视";
  std::u16string buffer;
  FetchProgrammeReply(service.Fetch(), u"tv", u"primary", buffer, nullptr);
  EXPECT_EQ(service.asked, (std::vector<std::u16string>{u"tv", u"primary"}));
  EXPECT_EQ(buffer, u"卫视");
  EXPECT_TRUE(ParseLinePairs(buffer).empty());
}

TEST(FetchProgrammeReply, NothingAcceptedKeepsTheBuffer) {
  FakeService service;
  std::u16string buffer = u"earlier";
  FetchProgrammeReply(service.Fetch(), u"tv", u"primary", buffer, nullptr);
  EXPECT_EQ(buffer, u"earlier");
}

TEST(ChannelAddress, BuiltInsUseTheChannelHostAndRepliesOnlyWebAddresses) {
  PageTable urls;
  urls.Set(6, u"http://x/a");
  urls.Set(7, u"javascript:alert(1)");
  urls.Set(5000, u"https://x/far");
  EXPECT_EQ(ChannelAddress(4, u"浙江卫视高清", urls, u"live:81"), u"http://live:81/usbtv/sjwsgq.html");
  EXPECT_EQ(ChannelAddress(5, u"黑龙江卫视高清", urls, u"live:81"), u"http://live:81/usbtv/hljgq.html");
  EXPECT_EQ(ChannelAddress(6, u"A", urls, u"live"), u"http://x/a");
  EXPECT_EQ(ChannelAddress(6, u"", urls, u"live"), std::nullopt);
  EXPECT_EQ(ChannelAddress(7, u"B", urls, u"live"), std::nullopt);
  EXPECT_EQ(ChannelAddress(8, u"C", urls, u"live"), std::nullopt);
  EXPECT_EQ(ChannelAddress(5000, u"D", urls, u"live"), u"https://x/far");
}

}  // namespace
}  // namespace talvo
