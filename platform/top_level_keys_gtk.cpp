#include "platform/top_level_keys.h"

#include <wx/defs.h>
#include <wx/toplevel.h>

#include <gtk/gtk.h>

#include <utility>

namespace talvo {

struct TopLevelKeysState {
  GtkWidget* window = nullptr;
  gulong handler_id = 0;
  TopLevelKeys::Handler take;
  std::function<bool(char32_t)> typed;
  GWeakRef focus;
  bool alt_alone = false;
};

namespace {

// The keys the map has that GTK names otherwise than wx; any other is the character it types.
int WxKeyCode(guint keyval) {
  constexpr std::pair<guint, int> kNamed[] = {
      {GDK_KEY_F11, WXK_F11},
      {GDK_KEY_F9, WXK_F9},
      {GDK_KEY_Escape, WXK_ESCAPE},
      {GDK_KEY_Up, WXK_UP},
      {GDK_KEY_KP_Up, WXK_NUMPAD_UP},
      {GDK_KEY_Page_Up, WXK_PAGEUP},
      {GDK_KEY_KP_Page_Up, WXK_NUMPAD_PAGEUP},
      {GDK_KEY_Down, WXK_DOWN},
      {GDK_KEY_KP_Down, WXK_NUMPAD_DOWN},
      {GDK_KEY_Page_Down, WXK_PAGEDOWN},
      {GDK_KEY_KP_Page_Down, WXK_NUMPAD_PAGEDOWN},
      {GDK_KEY_BackSpace, WXK_BACK},
      {GDK_KEY_KP_Add, WXK_NUMPAD_ADD},
      {GDK_KEY_KP_Subtract, WXK_NUMPAD_SUBTRACT},
  };
  for (const auto& [named, code] : kNamed) {
    if (keyval == named) return code;
  }
  const gunichar typed = gdk_keyval_to_unicode(keyval);
  return typed >= 'a' && typed <= 'z' ? static_cast<int>(typed - 'a' + 'A')
                                      : static_cast<int>(typed);
}

// GTK opens the menu bar on its own key (F10) only; people used to other desktops press Alt
// alone. Alt pressed and let go with nothing between is given to the window as that key, which
// opens the bar just as it would.
bool IsAlt(guint keyval) { return keyval == GDK_KEY_Alt_L || keyval == GDK_KEY_Alt_R; }

void PressMenuBarKey(GtkWidget* window, const GdkEvent* alt) {
  gchar* accel = nullptr;
  g_object_get(gtk_widget_get_settings(window), "gtk-menu-bar-accel", &accel, nullptr);
  guint keyval = 0;
  GdkModifierType mods{};
  if (accel != nullptr) gtk_accelerator_parse(accel, &keyval, &mods);
  g_free(accel);
  if (keyval == 0) return;  // the desktop has turned the bar's key off
  GdkEvent* press = gdk_event_copy(alt);
  press->key.type = GDK_KEY_PRESS;
  press->key.keyval = keyval;
  press->key.state = mods;
  press->key.is_modifier = FALSE;
  GdkKeymapKey* codes = nullptr;
  gint count = 0;
  if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gtk_widget_get_display(window)),
                                        keyval, &codes, &count)) {
    press->key.hardware_keycode = static_cast<guint16>(codes[0].keycode);
    g_free(codes);
  }
  // Through the main dispatch, so that the bar sees a key press as the event now handled.
  gtk_main_do_event(press);
  gdk_event_free(press);
}

// The generic "event" signal runs before "key-press-event", where wx, and through it the
// focused child, would see the key first.
gboolean OnEvent(GtkWidget* window, GdkEvent* event, gpointer data) {
  auto* state = static_cast<TopLevelKeysState*>(data);
  const GdkEventKey& key = event->key;
  constexpr auto kHeld = GDK_SHIFT_MASK | GDK_CONTROL_MASK | GDK_MOD1_MASK | GDK_SUPER_MASK;
  if (event->type == GDK_KEY_RELEASE && IsAlt(key.keyval) && state->alt_alone) {
    state->alt_alone = false;
    PressMenuBarKey(window, event);
    return TRUE;
  }
  // A click, or the window manager taking the keyboard for Alt+Tab, makes Alt part of something.
  if (event->type != GDK_KEY_PRESS) {
    if (event->type == GDK_BUTTON_PRESS || event->type == GDK_FOCUS_CHANGE) {
      state->alt_alone = false;
    }
    return FALSE;
  }
  state->alt_alone = IsAlt(key.keyval) && (key.state & kHeld) == 0;
  const TopLevelKey which = TopLevelKeyOf(WxKeyCode(key.keyval));
  const bool modified = HeldWithAnother(which, (key.state & GDK_SHIFT_MASK) != 0,
                                        (key.state & kHeld & ~GDK_SHIFT_MASK) != 0);
  if (state->take(which, modified)) return TRUE;
  const gunichar typed = gdk_keyval_to_unicode(key.keyval);
  const bool plain = (key.state & kHeld & ~GDK_SHIFT_MASK) == 0;
  return which == TopLevelKey::kOther && plain && state->typed && g_unichar_isgraph(typed) &&
                 state->typed(typed)
             ? TRUE
             : FALSE;
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

void TopLevelKeys::SetTyped(std::function<bool(char32_t)> typed) {
  state_->typed = std::move(typed);
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
