// What a key means to the client wherever the keyboard focus is, and what it does where only the
// picture shows: the one key map of both systems, pure. Key codes are wx's (a letter in upper
// case, any other character as itself), named here by value: top_level_keys.cpp checks them
// against the toolkit's own.
#pragma once

namespace talvo {

namespace key_code {
inline constexpr int kBack = 8;
inline constexpr int kEscape = 27;
inline constexpr int kUp = 315;
inline constexpr int kDown = 317;
inline constexpr int kF9 = 348;
inline constexpr int kF11 = 350;
inline constexpr int kPageUp = 366;
inline constexpr int kPageDown = 367;
inline constexpr int kNumpadUp = 377;
inline constexpr int kNumpadDown = 379;
inline constexpr int kNumpadPageUp = 380;
inline constexpr int kNumpadPageDown = 381;
inline constexpr int kNumpadAdd = 388;
inline constexpr int kNumpadSubtract = 390;
}  // namespace key_code

// Beyond F11 and Esc (fullscreen) and F9 (the small window), the keys a viewer zaps with where
// only the picture shows: Up and PageUp, Down and PageDown, Backspace, M, + and −.
enum class TopLevelKey {
  kOther,
  kF11,
  kF9,
  kEscape,
  kPrevious,
  kNext,
  kBack,
  kMute,
  kLouder,
  kQuieter
};

TopLevelKey TopLevelKeyOf(int key_code);
// Whether the key counts as held with another: Shift does not for + and −, which many keyboards
// type with it.
bool HeldWithAnother(TopLevelKey key, bool shift, bool ctrl_alt_or_super);

// What a zap key does: the neighbouring row of the list on show (by −1 or 1), the page before,
// 静音, or the volume a step up or down.
struct ZapAction {
  enum Kind { kNone, kStep, kBack, kMute, kVolume };
  Kind kind = kNone;
  int by = 0;
  bool operator==(const ZapAction&) const = default;
};
ZapAction ZapActionOf(TopLevelKey key);

}  // namespace talvo
