// Form_Resize as arithmetic: from the window's outer size, the view mode, the account form and
// the views' current geometry, every step the layout takes, in order. Twips, single precision.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/twips.h"

namespace talvo {

// ViewMode: 0 collapsed (no side panel), 1 TV (channel list), anything else radio (station list
// and the two border buttons).
inline constexpr std::int16_t kCollapsedView = 0;
inline constexpr std::int16_t kTvView = 1;
inline constexpr std::int16_t kRadioView = 2;

// The panel bar toggles between the collapsed view and the TV view.
inline std::int16_t ViewModeAfterPanelBar(std::int16_t mode) {
  return mode != kCollapsedView ? kCollapsedView : kTvView;
}

// The VIP form: the title carries " VIP用户", which the sign-in writes when the reply begins
// with the level.
bool IsVipTitle(std::u16string_view title);

enum class LayoutPart { kList1, kList2, kCommand2, kCommand3, kImage1, kWebBrowser1, kWebBrowser2 };
enum class LayoutAction { kShow, kHide, kSetLeft, kSetTop, kSetWidth, kSetHeight };

struct LayoutStep {
  LayoutPart part;
  LayoutAction action;
  float value = 0;  // twips, for the setters
  bool operator==(const LayoutStep&) const = default;
};

struct LayoutInput {
  float outer_width = 0;  // twips, border, title bar and menu bar included
  float outer_height = 0;
  std::int16_t view_mode = kTvView;
  bool vip = false;
  TwipsRect web_browser1;  // as the views hold them now
  TwipsRect web_browser2;
};

// `rect` after a setter step; a show or hide step leaves it as it is.
TwipsRect AfterStep(TwipsRect rect, const LayoutStep& step);

// The steps in order. A negative width or height is left out (the control keeps its value),
// and every later step reads back what the views then hold.
std::vector<LayoutStep> FormResize(const LayoutInput& input);

}  // namespace talvo
