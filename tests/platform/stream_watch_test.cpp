#include "platform/web/stream_watch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace talvo {
namespace {

// Each row is one element's reports, a step each: "<second> <kind> <time> <duration>", or
// "<second> check" for the client's look at stalls; and the steps that say the stream stopped.
TEST(StreamRule, AStreamThatStopsWithoutTheViewerIsToldOnceAndNothingElseIs) {
  const struct Row {
    const char* name;
    std::vector<const char*> steps;
    std::string stopped;  // '1' where a step says so
  } rows[] = {
      {"an endless station ends, stalls and pauses (MP3 and AAC)",
       {"0 playing 0 Infinity", "60 ended 60 Infinity", "61 waiting 60 Infinity",
        "62 pause 60 Infinity", "70 check"},
       "01000"},
      {"a script player's live stream ends: it had no length while it played",
       {"0 playing 0 Infinity", "9 progress 9 Infinity", "30 ended 30 30"},
       "001"},
      {"a live playlist handed to <video> fails",
       {"0 playing 0 Infinity", "20 error 20 Infinity"},
       "01"},
      {"a stall whose time stands still for 4 s",
       {"0 playing 5 Infinity", "10 waiting 15 Infinity", "13 check", "14 check", "15 check"},
       "00010"},
      {"a page's own player that recovers within 4 s",
       {"0 playing 5 Infinity", "10 waiting 15 Infinity", "12 progress 15.5 Infinity", "15 check"},
       "0000"},
      {"a clip with a length played to its end",
       {"0 playing 0 120", "120 ended 120 120", "125 check"},
       "000"},
      {"a clip with a length that ends early: its stream was cut",
       {"0 playing 0 120", "30 ended 30 120"},
       "01"},
      {"a pause by the viewer, then time stands still",
       {"0 playing 0 Infinity", "10 pause 10 Infinity", "20 check"},
       "000"},
      {"an element that never played fails: the page's own error",
       {"0 error 0 NaN", "0 waiting 0 NaN", "10 check"},
       "000"},
      {"told once, until it plays again",
       {"0 playing 0 Infinity", "5 error 5 Infinity", "6 ended 5 Infinity", "20 playing 0 Infinity",
        "30 error 10 Infinity"},
       "01001"},
  };
  for (const Row& row : rows) {
    StreamRule rule;
    std::string stopped;
    for (const char* step : row.steps) {
      std::istringstream words(step);
      int second = 0;
      std::string kind;
      words >> second >> kind;
      const auto now = StreamRule::Clock::time_point(std::chrono::seconds(second));
      if (kind == "check") {
        stopped += rule.Stalled(now) ? '1' : '0';
        continue;
      }
      std::string rest;
      std::getline(words, rest);
      const std::optional<MediaReport> report = ParseMediaReport("media 1 " + kind + rest + " -");
      ASSERT_TRUE(report.has_value()) << row.name << ": " << step;
      stopped += rule.Reported(*report, now) ? '1' : '0';
    }
    EXPECT_EQ(stopped, row.stopped) << row.name;
  }
}

TEST(ParseMediaReport, TakesTheScriptsWordsAndNothingElse) {
  const std::optional<MediaReport> report =
      ParseMediaReport("media 3 ended 12.5 Infinity http://radio.example:8000");
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(report->element, 3);
  EXPECT_EQ(report->kind, MediaReport::Kind::kEnded);
  EXPECT_EQ(report->time, 12.5);
  EXPECT_TRUE(std::isinf(report->duration));
  EXPECT_EQ(report->origin, "http://radio.example:8000");
  for (const char* bad : {"", "media", "media 0 ended 1 1", "media x ended 1 1", "media 1 seek 1 1",
                          "next", "media 1 ended"}) {
    EXPECT_FALSE(ParseMediaReport(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace talvo
