// Keys a top-level window takes before any of its children sees them, wherever the keyboard
// focus is: a list, a control that fullscreen has hidden (GTK then has no focus widget and wx
// no handler to call), or a page, whose scripts could otherwise swallow the key.
#pragma once

#include <functional>
#include <memory>

#include "platform/key_map.h"

class wxTopLevelWindow;

namespace talvo {

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
