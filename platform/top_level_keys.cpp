#include "platform/top_level_keys.h"

#include <wx/defs.h>

#include <utility>

namespace talvo {

TopLevelKey TopLevelKeyOf(int key_code) {
  constexpr std::pair<int, TopLevelKey> kKeys[] = {
      {WXK_F11, TopLevelKey::kF11},
      {WXK_F9, TopLevelKey::kF9},
      {WXK_ESCAPE, TopLevelKey::kEscape},
      {WXK_UP, TopLevelKey::kPrevious},
      {WXK_NUMPAD_UP, TopLevelKey::kPrevious},
      {WXK_PAGEUP, TopLevelKey::kPrevious},
      {WXK_NUMPAD_PAGEUP, TopLevelKey::kPrevious},
      {WXK_DOWN, TopLevelKey::kNext},
      {WXK_NUMPAD_DOWN, TopLevelKey::kNext},
      {WXK_PAGEDOWN, TopLevelKey::kNext},
      {WXK_NUMPAD_PAGEDOWN, TopLevelKey::kNext},
      {WXK_BACK, TopLevelKey::kBack},
      {'M', TopLevelKey::kMute},
      {'=', TopLevelKey::kLouder},
      {'+', TopLevelKey::kLouder},
      {WXK_NUMPAD_ADD, TopLevelKey::kLouder},
      {'-', TopLevelKey::kQuieter},
      {WXK_NUMPAD_SUBTRACT, TopLevelKey::kQuieter},
  };
  for (const auto& [code, meaning] : kKeys) {
    if (key_code == code) return meaning;
  }
  return TopLevelKey::kOther;
}

// Many keyboards type + and − with Shift.
bool HeldWithAnother(TopLevelKey key, bool shift, bool ctrl_alt_or_super) {
  const bool shift_counts = key != TopLevelKey::kLouder && key != TopLevelKey::kQuieter;
  return (shift_counts && shift) || ctrl_alt_or_super;
}

}  // namespace talvo
