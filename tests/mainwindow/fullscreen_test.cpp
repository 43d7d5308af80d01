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

// A zap key zaps in fullscreen; held with another key, outside fullscreen, or while the viewer
// types into a field of the page, it is the page's.
TEST(FullscreenKey, OnlyAPlainZapKeyInFullscreenZapsAndAFieldOfThePageKeepsItsKeys) {
  using enum TopLevelKey;
  EXPECT_TRUE(IsZapKey(kNext, false, true, false));
  EXPECT_FALSE(IsZapKey(kNext, true, true, false));
  EXPECT_FALSE(IsZapKey(kNext, false, false, false));
  EXPECT_FALSE(IsZapKey(kNext, false, true, true));
  EXPECT_FALSE(IsZapKey(kF11, false, true, false));
}

}  // namespace
}  // namespace talvo
