// Lengths on the windows are twips, 1/1440 inch. A pixel here is a device-independent one, and
// the inch is the desktop's text inch: 15 twips a pixel at the default 96 DPI, 10 at a desktop's
// 150 % text size (144 DPI), so every window grows with its text. A HiDPI scale (GDK_SCALE=2) is
// not in it: GTK already draws every device-independent pixel at that scale.
#pragma once

#include <cmath>

namespace talvo {

struct TwipsRect {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

inline constexpr double kDefaultTextDpi = 96.0;

// A resolution the desktop cannot have (unknown, zero, negative, not a number) counts as the
// default.
inline double TwipsPerPixel(double text_dpi) {
  return 1440.0 / (std::isfinite(text_dpi) && text_dpi > 0 ? text_dpi : kDefaultTextDpi);
}

inline int TwipsToPixels(double twips, double text_dpi) {
  return static_cast<int>(std::lround(twips / TwipsPerPixel(text_dpi)));
}

inline double PixelsToTwips(int pixels, double text_dpi) {
  return pixels * TwipsPerPixel(text_dpi);
}

}  // namespace talvo
