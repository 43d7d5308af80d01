#include "mainwindow/fullscreen.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

TEST(FullscreenKey, OnlyAPlainF11SwitchesAndEscOnlyLeaves) {
  using enum TopLevelKey;
  using enum FullscreenChange;
  struct Row {
    TopLevelKey key;
    bool modified;
    bool active;
    FullscreenChange change;
  };
  const Row rows[] = {
      {kF11, false, false, kEnter},   {kF11, false, true, kLeave},    {kF11, true, false, kNone},
      {kF11, true, true, kNone},      {kEscape, false, true, kLeave}, {kEscape, true, true, kLeave},
      {kEscape, false, false, kNone}, {kOther, false, true, kNone},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(FullscreenKey(row.key, row.modified, row.active), row.change)
        << static_cast<int>(row.key) << " modified " << row.modified << " active " << row.active;
  }
}

TEST(FullscreenKey, ZapKeysArePlainKeysInFullscreenThatThePageIsNotTypingWith) {
  using enum TopLevelKey;
  for (const TopLevelKey key : {kPrevious, kNext, kBack, kMute, kLouder, kQuieter}) {
    EXPECT_TRUE(IsZapKey(key, false, true, false)) << static_cast<int>(key);
    EXPECT_FALSE(IsZapKey(key, true, true, false)) << static_cast<int>(key);
    EXPECT_FALSE(IsZapKey(key, false, false, false)) << static_cast<int>(key);
    EXPECT_FALSE(IsZapKey(key, false, true, true)) << static_cast<int>(key);
  }
  for (const TopLevelKey key : {kOther, kF11, kF9, kEscape}) {
    EXPECT_FALSE(IsZapKey(key, false, true, false)) << static_cast<int>(key);
  }
}

}  // namespace
}  // namespace talvo
