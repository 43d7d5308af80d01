#include "platform/top_level_keys.h"

#include <wx/toplevel.h>

#include <gtk/gtk.h>

#include <utility>

namespace talvo {

struct TopLevelKeysState {
  GtkWidget* window = nullptr;
  gulong handler_id = 0;
  TopLevelKeys::Handler take;
  GWeakRef focus;
};

namespace {

constexpr std::pair<guint, TopLevelKey> kKeys[] = {
    {GDK_KEY_F11, TopLevelKey::kF11},          {GDK_KEY_Escape, TopLevelKey::kEscape},
    {GDK_KEY_Up, TopLevelKey::kPrevious},      {GDK_KEY_KP_Up, TopLevelKey::kPrevious},
    {GDK_KEY_Page_Up, TopLevelKey::kPrevious}, {GDK_KEY_KP_Page_Up, TopLevelKey::kPrevious},
    {GDK_KEY_Down, TopLevelKey::kNext},        {GDK_KEY_KP_Down, TopLevelKey::kNext},
    {GDK_KEY_Page_Down, TopLevelKey::kNext},   {GDK_KEY_KP_Page_Down, TopLevelKey::kNext},
    {GDK_KEY_BackSpace, TopLevelKey::kBack},   {GDK_KEY_m, TopLevelKey::kMute},
    {GDK_KEY_M, TopLevelKey::kMute},           {GDK_KEY_plus, TopLevelKey::kLouder},
    {GDK_KEY_equal, TopLevelKey::kLouder},     {GDK_KEY_KP_Add, TopLevelKey::kLouder},
    {GDK_KEY_minus, TopLevelKey::kQuieter},    {GDK_KEY_KP_Subtract, TopLevelKey::kQuieter},
};

// The generic "event" signal runs before "key-press-event", where wx, and through it the
// focused child, would see the key first.
gboolean OnEvent(GtkWidget*, GdkEvent* event, gpointer data) {
  if (event->type != GDK_KEY_PRESS) return FALSE;
  const auto* state = static_cast<const TopLevelKeysState*>(data);
  const GdkEventKey& key = event->key;
  TopLevelKey which = TopLevelKey::kOther;
  for (const auto& [keyval, meaning] : kKeys) {
    if (key.keyval == keyval) which = meaning;
  }
  const bool shift_counts = which != TopLevelKey::kLouder && which != TopLevelKey::kQuieter;
  const bool modified = (key.state & ((shift_counts ? GDK_SHIFT_MASK : 0) | GDK_CONTROL_MASK |
                                      GDK_MOD1_MASK | GDK_SUPER_MASK)) != 0;
  return state->take(which, modified) ? TRUE : FALSE;
}

}  // namespace

TopLevelKeys::TopLevelKeys(wxTopLevelWindow* window, Handler take)
    : state_(std::make_unique<TopLevelKeysState>()) {
  state_->window = GTK_WIDGET(window->GetHandle());
  state_->take = std::move(take);
  g_weak_ref_init(&state_->focus, nullptr);
  state_->handler_id = g_signal_connect(state_->window, "event", G_CALLBACK(OnEvent), state_.get());
}

TopLevelKeys::~TopLevelKeys() {
  g_signal_handler_disconnect(state_->window, state_->handler_id);
  g_weak_ref_clear(&state_->focus);
}

void TopLevelKeys::RememberFocus() {
  g_weak_ref_set(&state_->focus, gtk_window_get_focus(GTK_WINDOW(state_->window)));
}

void TopLevelKeys::RestoreFocus() {
  auto* widget = static_cast<GtkWidget*>(g_weak_ref_get(&state_->focus));
  if (widget == nullptr) return;
  gtk_widget_grab_focus(widget);
  g_object_unref(widget);
}

}  // namespace talvo
