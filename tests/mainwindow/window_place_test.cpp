#include "mainwindow/window_place.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

// Two screens side by side, the right one smaller and lower, as a laptop beside a monitor.
const std::vector<PlaceRect> kTwo = {{0, 0, 1920, 1050}, {1920, 200, 1280, 720}};

TEST(WindowPlaceTest, AWindowOffEveryScreenOpensWholeOnTheNearest) {
  const struct {
    const char* what;
    PlaceRect wanted;
    std::vector<PlaceRect> screens;
    PlaceRect placed;
  } cases[] = {
      {"on a screen", {100, 100, 800, 600}, kTwo, {100, 100, 800, 600}},
      {"across both", {1500, 300, 800, 600}, kTwo, {1500, 300, 800, 600}},
      {"half off the left, its top held", {-700, 100, 800, 600}, kTwo, {-700, 100, 800, 600}},
      {"too little of its top on the screen", {-760, 100, 800, 600}, kTwo, {0, 100, 800, 600}},
      {"its top above the screen", {100, -30, 800, 600}, kTwo, {100, 0, 800, 600}},
      {"on a monitor that is gone", {3400, 300, 800, 600}, kTwo, {2400, 300, 800, 600}},
      {"below the smaller screen", {2200, 1000, 800, 600}, kTwo, {2200, 320, 800, 600}},
      {"larger than its screen", {3300, 250, 1600, 900}, kTwo, {1920, 200, 1280, 720}},
      {"partly off a smaller screen, its top held",
       {900, 500, 1280, 720},
       {{0, 0, 1024, 768}},
       {900, 500, 1280, 720}},
      {"on no screen at all", {5000, 5000, 800, 600}, {{0, 0, 1024, 768}}, {224, 168, 800, 600}},
      {"no screens known", {5000, 5000, 800, 600}, {}, {5000, 5000, 800, 600}},
  };
  for (const auto& c : cases) EXPECT_EQ(OnScreen(c.wanted, c.screens), c.placed) << c.what;
}

TEST(WindowPlaceTest, TheSmallWindowStartsInTheBottomRightCornerAndItsPlaceReadsBack) {
  const struct {
    PlaceRect screen;
    PlaceRect placed;
  } cases[] = {
      {{0, 0, 1920, 1050}, {1416, 756, 480, 270}},
      {{1920, 200, 1280, 720}, {2856, 716, 320, 180}},  // a quarter is less than the least
      {{0, 0, 300, 200}, {24, 35, 252, 141}},           // a screen smaller than that
  };
  for (const auto& c : cases) EXPECT_EQ(SmallWindowPlace(c.screen), c.placed);
  for (const char* bad :
       {"", "1 2 3", "1 2 3 4 5", "1 2 0 4", "1  2 3 4", "a b c d", "1 2 3 70000"}) {
    EXPECT_EQ(ReadPlace(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(ReadPlace(WritePlace({-1200, 40, 800, 600})), (PlaceRect{-1200, 40, 800, 600}));
}

}  // namespace
}  // namespace talvo
