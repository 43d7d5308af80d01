// On Windows the frame hears a key before the control that has the focus through wx's char hook,
// which runs for every key the window's message loop translates, the browser control's included.
#include <wx/toplevel.h>
#include <wx/weakref.h>

#include <utility>

#include "platform/top_level_keys.h"

namespace talvo {

constexpr std::pair<int, TopLevelKey> kKeys[] = {
    {WXK_F11, TopLevelKey::kF11},
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

struct TopLevelKeysState {
  wxTopLevelWindow* window = nullptr;
  TopLevelKeys::Handler take;
  wxWeakRef<wxWindow> focus;

  void OnCharHook(wxKeyEvent& event) {
    TopLevelKey which = TopLevelKey::kOther;
    for (const auto& [code, meaning] : kKeys) {
      if (event.GetKeyCode() == code) which = meaning;
    }
    const bool shift_counts = which != TopLevelKey::kLouder && which != TopLevelKey::kQuieter;
    const bool modified = (shift_counts && event.ShiftDown()) || event.ControlDown() ||
                          event.AltDown() || event.MetaDown();
    if (!take(which, modified)) event.Skip();
  }
};

TopLevelKeys::TopLevelKeys(wxTopLevelWindow* window, Handler take)
    : state_(std::make_unique<TopLevelKeysState>()) {
  state_->window = window;
  state_->take = std::move(take);
  window->Bind(wxEVT_CHAR_HOOK, &TopLevelKeysState::OnCharHook, state_.get());
}

TopLevelKeys::~TopLevelKeys() {
  state_->window->Unbind(wxEVT_CHAR_HOOK, &TopLevelKeysState::OnCharHook, state_.get());
}

void TopLevelKeys::RememberFocus() { state_->focus = wxWindow::FindFocus(); }

void TopLevelKeys::RestoreFocus() {
  if (state_->focus) state_->focus->SetFocus();
}

}  // namespace talvo
