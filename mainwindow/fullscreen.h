// What a key does to fullscreen, wherever the keyboard focus is: F11 with no modifier enters or
// leaves it, Esc leaves it; any other key, and Esc outside fullscreen, belongs to the page.
#pragma once

#include "platform/top_level_keys.h"

namespace talvo {

enum class FullscreenChange { kNone, kEnter, kLeave };

FullscreenChange FullscreenKey(TopLevelKey key, bool modified, bool active);

}  // namespace talvo
