// Lengths on the windows are twips, 1/1440 inch: 15 twips a pixel at 96 DPI and scale 1.
#pragma once

#include <cmath>

namespace talvo {

struct TwipsRect {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

inline double TwipsPerPixel(double dpi_scale) { return 1440.0 / (96.0 * dpi_scale); }

inline int TwipsToPixels(double twips, double dpi_scale) {
  return static_cast<int>(std::lround(twips / TwipsPerPixel(dpi_scale)));
}

inline double PixelsToTwips(int pixels, double dpi_scale) {
  return pixels * TwipsPerPixel(dpi_scale);
}

}  // namespace talvo
