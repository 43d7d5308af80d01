#include <gtest/gtest.h>

#include <map>

#include "mainwindow/line_pairs.h"
#include "mainwindow/page_list.h"
#include "mainwindow/service_lists.h"

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
  // The list from the TV host "tv", else the primary "primary", into `buffer`; how often the
  // TV host's hook ran.
  int FetchInto(std::u16string& buffer, std::u16string_view marker = kProgrammeListMarker) {
    int hook_runs = 0;
    FetchListReply(Fetch(), u"tv", u"primary", marker, buffer, [&] { ++hook_runs; });
    return hook_runs;
  }
};

TEST(FetchListReply, TvHostReplyWithTheMarkerIsTakenAndThePrimaryIsNotAsked) {
  FakeService service;
  service.replies[u"tv"] = u"北京卫视\r\nhttp://x/a\r\n";
  std::u16string buffer;
  EXPECT_EQ(service.FetchInto(buffer), 1);
  EXPECT_EQ(buffer, u"北京卫视\r\nhttp://x/a\r\n");
  EXPECT_EQ(service.asked, std::vector<std::u16string>{u"tv"});
}

TEST(FetchListReply, RejectedTvReplyFallsBackToThePrimaryHost) {
  FakeService service;
  service.replies[u"tv"] = u"服务器忙\r\nhttp://x/a\r\n";
  service.replies[u"primary"] = u"湖南卫视\r\nhttp://x/b\r\n";
  std::u16string buffer;
  EXPECT_EQ(service.FetchInto(buffer), 0) << "the hook belongs to the TV host's reply only";
  EXPECT_EQ(buffer, u"湖南卫视\r\nhttp://x/b\r\n");
  EXPECT_EQ(service.asked, (std::vector<std::u16string>{u"tv", u"primary"}));
}

TEST(FetchListReply, ShortAcceptedReplyStillAsksThePrimaryHost) {
  FakeService service;
  service.replies[u"tv"] = u"卫视";
  std::u16string buffer;
  service.FetchInto(buffer);
  EXPECT_EQ(service.asked, (std::vector<std::u16string>{u"tv", u"primary"}));
  EXPECT_EQ(buffer, u"卫视");
  EXPECT_TRUE(ParseLinePairs(buffer).empty());
}

TEST(FetchListReply, NothingAcceptedKeepsTheBuffer) {
  FakeService service;
  std::u16string buffer = u"earlier";
  service.FetchInto(buffer);
  EXPECT_EQ(buffer, u"earlier");
}

TEST(FetchListReply, EachListHasItsOwnMarker) {
  FakeService service;
  service.replies[u"tv"] = u"北京卫视\r\nhttp://x/a\r\n";
  service.replies[u"primary"] = u"交通广播\r\nhttp://x/fm\r\n";
  std::u16string buffer;
  service.FetchInto(buffer, kStationListMarker);
  EXPECT_EQ(buffer, u"交通广播\r\nhttp://x/fm\r\n");
}

TEST(PageAddress, BuiltInsLeadToTheChannelHostAndEmptyEntriesNowhere) {
  PageTable urls;
  std::size_t position = 0;
  for (const LinePair& entry : BuiltInChannelEntries(u"live:81"))
    urls.Set(position++, entry.address);
  urls.Set(6, u"http://x/a");
  urls.Set(5000, u"https://x/far");
  EXPECT_EQ(PageAddress(4, u"浙江卫视高清", urls), u"http://live:81/usbtv/sjwsgq.html");
  EXPECT_EQ(PageAddress(5, u"黑龙江卫视高清", urls), u"http://live:81/usbtv/hljgq.html");
  EXPECT_EQ(PageAddress(6, u"A", urls), u"http://x/a");
  EXPECT_EQ(PageAddress(6, u"", urls), std::nullopt);
  EXPECT_EQ(PageAddress(8, u"C", urls), u"");
  EXPECT_EQ(PageAddress(5000, u"D", urls), u"https://x/far");
}

TEST(SteppedRow, NextAndPreviousWrapAtTheEndsAndStartFromNoChoice) {
  struct Row {
    int selected, count, by, row;
  };
  const Row rows[] = {
      {0, 6, 1, 1},   {4, 6, 1, 5},    {5, 6, 1, 0},  // next, wrapping after the last
      {1, 6, -1, 0},  {0, 6, -1, 5},                  // previous, wrapping before the first
      {-1, 6, 1, 0},  {-1, 6, -1, 5},                 // nothing chosen yet
      {9, 6, 1, 0},                                   // a choice the list no longer has
      {0, 1, 1, 0},   {0, 1, -1, 0},                  // a single row stays chosen
      {-1, 0, 1, -1}, {-1, 0, -1, -1},                // an empty list: nothing to choose
  };
  for (const Row& r : rows) {
    EXPECT_EQ(SteppedRow(r.selected, r.count, r.by), r.row)
        << r.selected << " of " << r.count << " by " << r.by;
  }
}

}  // namespace
}  // namespace talvo
