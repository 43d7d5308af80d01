#include "platform/twips.h"

#include <gtest/gtest.h>

#include <cmath>

namespace talvo {
namespace {

// 150 % text is 10 twips a pixel; a resolution the desktop cannot have is the default one,
// never a division by zero.
TEST(Twips, OnePixelIsTheTextInchOverTheDesktopsTextDpi) {
  struct Row {
    double twips;
    double text_dpi;
    int pixels;
  };
  const Row rows[] = {{13755, 96, 917},   {8700, 96, 580},          {75, 96, 5},
                      {13755, 144, 1376}, {8700, 144, 870},         {3750, 144, 375},
                      {1440, 192, 192},   {1440, 120, 120},         {1440, 0, 96},
                      {1440, -72, 96},    {1440, std::nan(""), 96}, {1440, HUGE_VAL, 96}};
  for (const Row& row : rows) {
    EXPECT_EQ(TwipsToPixels(row.twips, row.text_dpi), row.pixels)
        << row.twips << " at " << row.text_dpi;
  }
  EXPECT_DOUBLE_EQ(PixelsToTwips(917, 96), 13755);
  EXPECT_DOUBLE_EQ(PixelsToTwips(1376, 144), 13760);
}

}  // namespace
}  // namespace talvo
