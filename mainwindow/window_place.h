// Where the main window and the small window (小窗) open: the place kept from the last run,
// brought whole onto a screen when it would open off every one, and the small window's first
// place. Pixels on the desktop; a screen is its work area (without the panels).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talvo {

struct PlaceRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PlaceRect&) const = default;
};

struct WindowPlace {
  PlaceRect rect;  // as it is when neither maximised, fullscreen nor small
  bool maximised = false;
  bool operator==(const WindowPlace&) const = default;
};

// `wanted` where it would open, given the screens: kept where its top edge, by which it is moved,
// lies on a screen with enough of the window beside it; otherwise on the screen nearest to it,
// whole, made smaller where it is larger than that screen. Kept as it is when there is no screen.
PlaceRect OnScreen(const PlaceRect& wanted, const std::vector<PlaceRect>& screens);

// The small window's first place on `screen`: 16:9, a quarter of the screen's width (320 pixels
// at least, the screen at most), in its bottom right corner, a little inside.
PlaceRect SmallWindowPlace(const PlaceRect& screen);

// "x y width height" and a maximised flag, as the choices file keeps them.
std::string WritePlace(const PlaceRect& rect);
std::optional<PlaceRect> ReadPlace(std::string_view text);

}  // namespace talvo
