// What a key does to fullscreen, wherever the keyboard focus is: F11 with no modifier enters or
// leaves it, Esc leaves it; any other key, and Esc outside fullscreen, belongs to the page.
#pragma once

#include "platform/key_map.h"

namespace talvo {

enum class FullscreenChange { kNone, kEnter, kLeave };

FullscreenChange FullscreenKey(TopLevelKey key, bool modified, bool active);

// Whether a key zaps (the neighbouring row, back, sound) in fullscreen: only a plain one, and
// never while the viewer types into a field of the page, which keeps its keys.
bool IsZapKey(TopLevelKey key, bool modified, bool active, bool typing_in_page);

}  // namespace talvo
