#include "platform/top_level_keys.h"

#include <wx/defs.h>

namespace talvo {

// The key map names wx's key codes by value, so that it stays pure.
static_assert(key_code::kBack == WXK_BACK && key_code::kEscape == WXK_ESCAPE &&
              key_code::kUp == WXK_UP && key_code::kDown == WXK_DOWN && key_code::kF9 == WXK_F9 &&
              key_code::kF11 == WXK_F11 && key_code::kPageUp == WXK_PAGEUP &&
              key_code::kPageDown == WXK_PAGEDOWN && key_code::kNumpadUp == WXK_NUMPAD_UP &&
              key_code::kNumpadDown == WXK_NUMPAD_DOWN &&
              key_code::kNumpadPageUp == WXK_NUMPAD_PAGEUP &&
              key_code::kNumpadPageDown == WXK_NUMPAD_PAGEDOWN &&
              key_code::kNumpadAdd == WXK_NUMPAD_ADD &&
              key_code::kNumpadSubtract == WXK_NUMPAD_SUBTRACT);

}  // namespace talvo
