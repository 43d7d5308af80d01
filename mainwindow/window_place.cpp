#include "mainwindow/window_place.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>

namespace talvo {
namespace {

// How much of the window's top edge must lie on a screen for the viewer to take hold of it.
constexpr int kHoldable = 64;
constexpr int kSmallestWidth = 320;
constexpr int kCornerGap = 24;

int Overlap(int start, int length, int other_start, int other_length) {
  return std::min(start + length, other_start + other_length) - std::max(start, other_start);
}

// How far the rectangle lies from the screen; 0 when they touch or overlap.
long long Distance(const PlaceRect& rect, const PlaceRect& screen) {
  const long long dx =
      std::max({0, screen.x - (rect.x + rect.width), rect.x - (screen.x + screen.width)});
  const long long dy =
      std::max({0, screen.y - (rect.y + rect.height), rect.y - (screen.y + screen.height)});
  return dx * dx + dy * dy;
}

}  // namespace

PlaceRect OnScreen(const PlaceRect& wanted, const std::vector<PlaceRect>& screens) {
  for (const PlaceRect& screen : screens) {
    const bool top_on_screen = wanted.y >= screen.y && wanted.y < screen.y + screen.height;
    const int beside = Overlap(wanted.x, wanted.width, screen.x, screen.width);
    if (top_on_screen && beside >= std::min(kHoldable, wanted.width)) return wanted;
  }
  if (screens.empty()) return wanted;
  // The screen the window is nearest to, the one it overlaps most among those it touches.
  const auto nearest =
      std::min_element(screens.begin(), screens.end(), [&](const PlaceRect& a, const PlaceRect& b) {
        const long long da = Distance(wanted, a);
        const long long db = Distance(wanted, b);
        if (da != db) return da < db;
        const auto area = [&](const PlaceRect& s) {
          return static_cast<long long>(
                     std::max(0, Overlap(wanted.x, wanted.width, s.x, s.width))) *
                 std::max(0, Overlap(wanted.y, wanted.height, s.y, s.height));
        };
        return area(a) > area(b);
      });
  const PlaceRect& screen = *nearest;
  PlaceRect placed = wanted;
  placed.width = std::clamp(wanted.width, 1, screen.width);
  placed.height = std::clamp(wanted.height, 1, screen.height);
  placed.x = std::clamp(wanted.x, screen.x, screen.x + screen.width - placed.width);
  placed.y = std::clamp(wanted.y, screen.y, screen.y + screen.height - placed.height);
  return placed;
}

PlaceRect SmallWindowPlace(const PlaceRect& screen) {
  const int room = std::max(1, screen.width - 2 * kCornerGap);
  const int width = std::min(std::max(screen.width / 4, kSmallestWidth), room);
  const int height = std::min(width * 9 / 16, std::max(1, screen.height - 2 * kCornerGap));
  return {screen.x + screen.width - kCornerGap - width,
          screen.y + screen.height - kCornerGap - height, width, height};
}

std::string WritePlace(const PlaceRect& rect) {
  return std::to_string(rect.x) + " " + std::to_string(rect.y) + " " + std::to_string(rect.width) +
         " " + std::to_string(rect.height);
}

std::optional<PlaceRect> ReadPlace(std::string_view text) {
  int numbers[4];
  const char* at = text.data();
  const char* const end = text.data() + text.size();
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (at == end || *at != ' ') return std::nullopt;
      ++at;
    }
    const auto [next, error] = std::from_chars(at, end, numbers[i]);
    if (error != std::errc{}) return std::nullopt;
    at = next;
  }
  // A window of no size, or one too large for any desktop, is no place to keep.
  constexpr int kLargest = 1 << 16;
  if (at != end || numbers[2] <= 0 || numbers[3] <= 0 || numbers[2] > kLargest ||
      numbers[3] > kLargest || std::abs(numbers[0]) > kLargest || std::abs(numbers[1]) > kLargest) {
    return std::nullopt;
  }
  return PlaceRect{numbers[0], numbers[1], numbers[2], numbers[3]};
}

}  // namespace talvo
