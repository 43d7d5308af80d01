#include "mainwindow/fullscreen.h"

namespace talvo {

FullscreenChange FullscreenKey(TopLevelKey key, bool modified, bool active) {
  if (key == TopLevelKey::kF11 && !modified) {
    return active ? FullscreenChange::kLeave : FullscreenChange::kEnter;
  }
  if (key == TopLevelKey::kEscape && active) return FullscreenChange::kLeave;
  return FullscreenChange::kNone;
}

bool IsZapKey(TopLevelKey key, bool modified, bool active, bool typing_in_page) {
  using enum TopLevelKey;
  const bool zapping = key == kPrevious || key == kNext || key == kBack || key == kMute ||
                       key == kLouder || key == kQuieter;
  return zapping && active && !modified && !typing_in_page;
}

}  // namespace talvo
