#include "platform/key_map.h"

#include <utility>

namespace talvo {

TopLevelKey TopLevelKeyOf(int code) {
  using namespace key_code;
  constexpr std::pair<int, TopLevelKey> kKeys[] = {
      {kF11, TopLevelKey::kF11},
      {kF9, TopLevelKey::kF9},
      {kEscape, TopLevelKey::kEscape},
      {kUp, TopLevelKey::kPrevious},
      {kNumpadUp, TopLevelKey::kPrevious},
      {kPageUp, TopLevelKey::kPrevious},
      {kNumpadPageUp, TopLevelKey::kPrevious},
      {kDown, TopLevelKey::kNext},
      {kNumpadDown, TopLevelKey::kNext},
      {kPageDown, TopLevelKey::kNext},
      {kNumpadPageDown, TopLevelKey::kNext},
      {kBack, TopLevelKey::kBack},
      {'M', TopLevelKey::kMute},
      {'=', TopLevelKey::kLouder},
      {'+', TopLevelKey::kLouder},
      {kNumpadAdd, TopLevelKey::kLouder},
      {'-', TopLevelKey::kQuieter},
      {kNumpadSubtract, TopLevelKey::kQuieter},
  };
  for (const auto& [known, meaning] : kKeys) {
    if (code == known) return meaning;
  }
  return TopLevelKey::kOther;
}

bool HeldWithAnother(TopLevelKey key, bool shift, bool ctrl_alt_or_super) {
  const bool shift_counts = key != TopLevelKey::kLouder && key != TopLevelKey::kQuieter;
  return (shift_counts && shift) || ctrl_alt_or_super;
}

ZapAction ZapActionOf(TopLevelKey key) {
  switch (key) {
    case TopLevelKey::kPrevious:
      return {ZapAction::kStep, -1};
    case TopLevelKey::kNext:
      return {ZapAction::kStep, 1};
    case TopLevelKey::kBack:
      return {ZapAction::kBack};
    case TopLevelKey::kMute:
      return {ZapAction::kMute};
    case TopLevelKey::kLouder:
      return {ZapAction::kVolume, 1};
    case TopLevelKey::kQuieter:
      return {ZapAction::kVolume, -1};
    default:
      return {};
  }
}

}  // namespace talvo
