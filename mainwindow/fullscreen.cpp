#include "mainwindow/fullscreen.h"

namespace talvo {

FullscreenChange FullscreenKey(TopLevelKey key, bool modified, bool active) {
  if (key == TopLevelKey::kF11 && !modified) {
    return active ? FullscreenChange::kLeave : FullscreenChange::kEnter;
  }
  if (key == TopLevelKey::kEscape && active) return FullscreenChange::kLeave;
  return FullscreenChange::kNone;
}

}  // namespace talvo
