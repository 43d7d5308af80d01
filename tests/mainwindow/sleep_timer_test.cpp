#include "mainwindow/sleep_timer.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

using std::chrono::minutes;
using std::chrono::seconds;

// A 30-minute timer read as the clock moves on: the minutes it shows, the fade over the last
// 30 s of a volume of 80 %, and the stop, after which it is off.
TEST(SleepTimer, ShowsWholeMinutesFadesOverTheLastHalfMinuteThenStopsOnce) {
  const SleepClock::time_point start{};
  SleepTimer timer;
  EXPECT_EQ(timer.Step(start, 80), SleepStep{});
  EXPECT_EQ(SleepTimerCaption(timer.MinutesLeft(start)), u"定时关闭");
  timer.Set(minutes(30), start);
  struct Row {
    SleepClock::duration at;
    std::optional<int> minutes_left;
    SleepStep step;
  } rows[] = {
      {seconds(0), 30, {}},
      {seconds(1), 30, {}},
      {minutes(7) + seconds(1), 23, {}},
      {minutes(29) + seconds(30), 1, {}},
      {minutes(29) + seconds(31), 1, {.volume = 77}},
      {minutes(29) + seconds(45), 1, {.volume = 40}},
      {minutes(29) + seconds(59), 1, {.volume = 3}},
      {minutes(30), 0, {.volume = std::nullopt, .stop = true}},
      {minutes(31), std::nullopt, {}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(timer.MinutesLeft(start + row.at), row.minutes_left) << row.at.count();
    const SleepStep step = timer.Step(start + row.at, 80);
    EXPECT_EQ(step.volume, row.step.volume) << row.at.count();
    EXPECT_EQ(step.stop, row.step.stop) << row.at.count();
  }
  EXPECT_EQ(SleepTimerCaption(23), u"定时关闭（还剩 23 分钟）");
}

TEST(SleepTimer, SetAgainStartsOverAShortOneFadesOverItsSecondHalfAndCancelStopsNothing) {
  const SleepClock::time_point start{};
  SleepTimer timer;
  timer.Set(minutes(15), start);
  timer.Set(seconds(4), start + minutes(14));
  EXPECT_EQ(timer.Step(start + minutes(14) + seconds(3), 100).volume, 50);
  EXPECT_TRUE(timer.Step(start + minutes(14) + seconds(4), 100).stop) << "the second one's end";
  timer.Set(minutes(90), start);
  timer.Cancel();
  EXPECT_FALSE(timer.Running());
  EXPECT_EQ(timer.Step(start + minutes(104), 100), SleepStep{});
}

}  // namespace
}  // namespace talvo
