// Keys a top-level window takes before any of its children sees them, wherever the keyboard
// focus is: a list, a control that fullscreen has hidden (GTK then has no focus widget and wx
// no handler to call), or a page, whose scripts could otherwise swallow the key.
#pragma once

#include <functional>
#include <memory>

class wxTopLevelWindow;

namespace talvo {

// Beyond F11 and Esc (fullscreen) and F9 (the small window), the keys a viewer zaps with where
// only the picture shows: Up and PageUp, Down and PageDown, Backspace, M, + and −. Shift does not
// count as held for + and −, which many keyboards type with it.
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

// The one key map of both systems: a key's meaning from its wx key code (a letter in upper case,
// any other character as itself), and whether it counts as held with another key.
TopLevelKey TopLevelKeyOf(int key_code);
bool HeldWithAnother(TopLevelKey key, bool shift, bool ctrl_alt_or_super);

struct TopLevelKeysState;

class TopLevelKeys {
 public:
  // `take` gets each key press, and whether Shift, Ctrl, Alt or Super was held; it returns true
  // for a key it took, which then goes nowhere else.
  using Handler = std::function<bool(TopLevelKey key, bool modified)>;
  TopLevelKeys(wxTopLevelWindow* window, Handler take);
  ~TopLevelKeys();
  TopLevelKeys(const TopLevelKeys&) = delete;
  TopLevelKeys& operator=(const TopLevelKeys&) = delete;

  // Gets each character typed with no Ctrl, Alt or Super held that `take` left, before the
  // focused child sees it; it returns true for a character it took.
  void SetTyped(std::function<bool(char32_t typed)> typed);

  // Remembers the widget that has the keyboard focus now, and gives it back the focus later (if
  // it still exists): what the user was in before fullscreen, even a page.
  void RememberFocus();
  void RestoreFocus();

 private:
  std::unique_ptr<TopLevelKeysState> state_;
};

}  // namespace talvo
