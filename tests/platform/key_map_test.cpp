#include "platform/key_map.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

using enum TopLevelKey;

// Each key: what it means, whether Shift makes it another key, and what it does as a zap key.
TEST(KeyMapTest, EachKeyMeansOneThingAndZapsItsOwnWay) {
  const struct {
    int code;
    TopLevelKey key;
    bool shift_counts;
    ZapAction zap;
  } rows[] = {
      {key_code::kF11, kF11, true, {}},
      {key_code::kF9, kF9, true, {}},
      {key_code::kEscape, kEscape, true, {}},
      {key_code::kUp, kPrevious, true, {ZapAction::kStep, -1}},
      {key_code::kNumpadPageUp, kPrevious, true, {ZapAction::kStep, -1}},
      {key_code::kPageDown, kNext, true, {ZapAction::kStep, 1}},
      {key_code::kNumpadDown, kNext, true, {ZapAction::kStep, 1}},
      {key_code::kBack, kBack, true, {ZapAction::kBack}},
      {'M', kMute, true, {ZapAction::kMute}},
      {'+', kLouder, false, {ZapAction::kVolume, 1}},
      {'=', kLouder, false, {ZapAction::kVolume, 1}},
      {key_code::kNumpadSubtract, kQuieter, false, {ZapAction::kVolume, -1}},
      {'m', kOther, true, {}},
      {'A', kOther, true, {}},
  };
  for (const auto& row : rows) {
    const TopLevelKey key = TopLevelKeyOf(row.code);
    EXPECT_EQ(key, row.key) << row.code;
    EXPECT_EQ(HeldWithAnother(key, true, false), row.shift_counts) << row.code;
    EXPECT_TRUE(HeldWithAnother(key, false, true)) << row.code;
    EXPECT_FALSE(HeldWithAnother(key, false, false)) << row.code;
    EXPECT_EQ(ZapActionOf(key), row.zap) << row.code;
  }
}

}  // namespace
}  // namespace talvo
