#include "platform/web/stream_watch.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace talvo {
namespace {

// Each row is one element's reports as the watch script sends them, each after its second, or
// "<second> check" for the client's look at stalls; and the steps that say the stream stopped.
TEST(StreamRule, AStreamThatStopsWithoutTheViewerIsToldOnceAndNothingElseIs) {
  const struct Row {
    const char* name;
    std::vector<const char*> steps;
    std::string stopped;  // '1' where a step says so
  } rows[] = {
      {"an endless station ends, stalls, pauses",
       {"0 playing 0 Infinity", "60 ended 60 Infinity", "61 waiting 60 Infinity",
        "62 pause 60 Infinity", "70 check"},
       "01000"},
      {"a live script player ends: no length while it played",
       {"0 playing 0 Infinity", "9 progress 9 Infinity", "30 ended 30 30"},
       "001"},
      {"a live playlist in <video> fails", {"0 playing 0 Infinity", "20 error 20 Infinity"}, "01"},
      {"its time stands still for 4 s",
       {"0 playing 5 Infinity", "10 waiting 15 Infinity", "13 check", "14 check", "15 check"},
       "00010"},
      {"a page's own player recovers within 4 s",
       {"0 playing 5 Infinity", "10 waiting 15 Infinity", "12 progress 15.5 Infinity", "15 check"},
       "0000"},
      {"a clip played to its length", {"0 playing 0 120", "120 ended 120 120", "125 check"}, "000"},
      {"a clip cut before its length", {"0 playing 0 120", "30 ended 30 120"}, "01"},
      {"the viewer's pause", {"0 playing 0 Infinity", "10 pause 10 Infinity", "20 check"}, "000"},
      {"never played: the page's own error",
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
      std::string kind, rest;
      words >> second >> kind;
      std::getline(words, rest);
      const auto now = StreamRule::Clock::time_point(std::chrono::seconds(second));
      const auto report = ParseMediaReport("media 7 " + kind + rest + " http://radio.example:8000");
      ASSERT_TRUE(kind == "check" || (report && report->origin == "http://radio.example:8000"))
          << row.name << ": " << step;
      stopped += (kind == "check" ? rule.Stalled(now) : rule.Reported(*report, now)) ? '1' : '0';
    }
    EXPECT_EQ(stopped, row.stopped) << row.name;
  }
  for (const char* bad : {"", "media", "media 0 ended 1 1", "media x ended 1 1", "media 1 seek 1 1",
                          "next", "media 1 ended"}) {
    EXPECT_FALSE(ParseMediaReport(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace talvo
