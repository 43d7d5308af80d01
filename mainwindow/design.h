// The main window's fixed design: client size and control rectangles, in twips.
#pragma once

#include "platform/twips.h"

namespace talvo::design {

inline constexpr double kClientWidth = 13755;
inline constexpr double kClientHeight = 8700;

inline constexpr TwipsRect kList2{0, 0, 1935, 4860};
inline constexpr TwipsRect kWebBrowser2{2040, 7200, 11295, 1455};
inline constexpr TwipsRect kWebBrowser1{5040, 0, 8775, 4455};
inline constexpr TwipsRect kList1{0, 360, 1935, 3900};
inline constexpr TwipsRect kCommand3{960, 0, 975, 375};
inline constexpr TwipsRect kCommand2{0, 0, 975, 375};
inline constexpr TwipsRect kImage1{1950, 3720, 75, 795};

}  // namespace talvo::design
