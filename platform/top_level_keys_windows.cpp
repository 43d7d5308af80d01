// On Windows the frame hears a key before the control that has the focus through wx's char hook,
// which runs for every key the window's message loop translates, the browser control's included.
#include <wx/toplevel.h>
#include <wx/weakref.h>

#include "platform/top_level_keys.h"

namespace talvo {

struct TopLevelKeysState {
  wxTopLevelWindow* window = nullptr;
  TopLevelKeys::Handler take;
  std::function<bool(char32_t)> typed;
  wxWeakRef<wxWindow> focus;

  void OnCharHook(wxKeyEvent& event) {
    const TopLevelKey which = TopLevelKeyOf(event.GetKeyCode());
    const bool modified = HeldWithAnother(
        which, event.ShiftDown(), event.ControlDown() || event.AltDown() || event.MetaDown());
    if (take(which, modified)) return;
    const wxChar character = event.GetUnicodeKey();
    const bool plain = !event.ControlDown() && !event.AltDown() && !event.MetaDown();
    if (which == TopLevelKey::kOther && plain && typed && character > u' ' &&
        character != WXK_DELETE && typed(static_cast<char32_t>(character))) {
      return;
    }
    event.Skip();
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

void TopLevelKeys::SetTyped(std::function<bool(char32_t)> typed) {
  state_->typed = std::move(typed);
}

void TopLevelKeys::RememberFocus() { state_->focus = wxWindow::FindFocus(); }

void TopLevelKeys::RestoreFocus() {
  if (state_->focus) state_->focus->SetFocus();
}

}  // namespace talvo
