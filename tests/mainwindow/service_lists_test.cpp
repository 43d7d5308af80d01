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

// Which host's reply a list takes: the TV host's when it carries the list's marker (and only then
// the TV host's hook runs), then the primary's while the list is too short for an entry; nothing
// accepted keeps what the list held.
TEST(FetchListReply, TheTvHostsListWhenItCarriesTheMarkerElseThePrimarysElseWhatWasThere) {
  const std::u16string tv = u"北京卫视\r\nhttp://x/a\r\n";
  const std::u16string primary = u"湖南卫视\r\nhttp://x/b\r\n交通广播\r\nhttp://x/fm\r\n";
  const std::vector<std::u16string> both = {u"tv", u"primary"};
  const struct {
    const char* name;
    std::u16string_view marker;
    std::u16string tv, primary, before;
    int hook_runs;
    std::vector<std::u16string> asked;
    std::u16string after;
  } rows[] = {
      {"taken from the TV host", kProgrammeListMarker, tv, primary, u"", 1, {u"tv"}, tv},
      {"rejected by the TV host", kProgrammeListMarker, u"服务器忙\r\n", primary, u"", 0, both,
       primary},
      {"too short for an entry", kProgrammeListMarker, u"卫视", u"", u"", 1, both, u"卫视"},
      {"each list its own marker", kStationListMarker, tv, primary, u"", 0, both, primary},
      {"accepted nowhere", kProgrammeListMarker, u"", u"", u"earlier", 0, {u"tv"}, u"earlier"},
  };
  for (const auto& row : rows) {
    FakeService service;
    service.replies = {{u"tv", row.tv}, {u"primary", row.primary}};
    std::u16string buffer = row.before;
    EXPECT_EQ(service.FetchInto(buffer, row.marker), row.hook_runs) << row.name;
    EXPECT_EQ(service.asked, row.asked) << row.name;
    EXPECT_EQ(buffer, row.after) << row.name;
  }
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
