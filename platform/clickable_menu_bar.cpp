#include "platform/clickable_menu_bar.h"

#include <wx/frame.h>
#include <wx/menu.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif
#ifdef __WXMSW__
#include <windows.h>
#endif

#include "platform/wx_text.h"

namespace talvo {
namespace {

// wx reads "&" as the mark of an access key; "&&" is a plain "&".
wxString BarLabel(const std::u16string& caption) {
  wxString label = ToWx(caption);
  label.Replace("&", "&&");
  return label;
}

}  // namespace

ClickableMenuBar::ClickableMenuBar(wxFrame* frame) : frame_(frame), bar_(new wxMenuBar) {
  frame_->Bind(wxEVT_MENU_OPEN, &ClickableMenuBar::OnMenuOpen, this);
}

void ClickableMenuBar::Attach() {
  if (frame_->GetMenuBar() != bar_) frame_->SetMenuBar(bar_);
}

ClickableMenuBar::~ClickableMenuBar() {
  frame_->Unbind(wxEVT_MENU_OPEN, &ClickableMenuBar::OnMenuOpen, this);
  // A bar that never went on the frame is still ours.
  if (frame_->GetMenuBar() != bar_) delete bar_;
}

int ClickableMenuBar::Add(const std::u16string& caption, std::function<void()> on_click) {
  entries_.push_back(Entry{caption, std::move(on_click)});
  const int index = Count() - 1;
  if (!caption.empty()) Show(index);
  return index;
}

void ClickableMenuBar::SetCaption(int index, const std::u16string& caption) {
  Entry& entry = entries_.at(index);
  entry.caption = caption;
  if (caption.empty()) {
    Hide(index);
  } else if (!entry.shown) {
    Show(index);
  } else {
    bar_->SetMenuLabel(BarPosition(index), BarLabel(caption));
  }
}

void ClickableMenuBar::SetOnClick(int index, std::function<void()> on_click) {
  entries_.at(index).on_click = std::move(on_click);
}

wxMenu* ClickableMenuBar::MenuOf(int index) const {
  const Entry& entry = entries_.at(index);
  return entry.shown ? entry.menu : nullptr;
}

int ClickableMenuBar::MinimumWidth() const {
#ifdef __WXGTK__
  int minimum = 0;
  int natural = 0;
  gtk_widget_get_preferred_width(static_cast<GtkWidget*>(bar_->GetHandle()), &minimum, &natural);
  return minimum;
#else
  return bar_->GetBestSize().x;
#endif
}

int ClickableMenuBar::BarPosition(int index) const {
  int position = 0;
  for (int i = 0; i < index; ++i) position += entries_[i].shown ? 1 : 0;
  return position;
}

void ClickableMenuBar::Show(int index) {
  Entry& entry = entries_[index];
  entry.menu = new wxMenu;
  bar_->Insert(BarPosition(index), entry.menu, BarLabel(entry.caption));
  entry.shown = true;
}

void ClickableMenuBar::Hide(int index) {
  Entry& entry = entries_[index];
  if (!entry.shown) return;
  delete bar_->Remove(BarPosition(index));
  entry.menu = nullptr;
  entry.shown = false;
}

#ifdef __WXGTK__
namespace {

// Walking the bar with F10 and the arrows opens each entry's empty drop-down in turn: there the
// entry only acts on Enter or Space, as a person choosing it from the keyboard means.
gboolean OnDropDownKey(GtkWidget*, GdkEventKey* key, gpointer data) {
  if (key->keyval != GDK_KEY_Return && key->keyval != GDK_KEY_KP_Enter &&
      key->keyval != GDK_KEY_space) {
    return FALSE;
  }
  static_cast<ClickableMenuBar*>(data)->ActOnKeyboardChoice();
  return TRUE;
}

bool OpenedFromKeyboard() {
  GdkEvent* current = gtk_get_current_event();
  const bool keys = current != nullptr && current->type == GDK_KEY_PRESS;
  if (current != nullptr) gdk_event_free(current);
  return keys;
}

}  // namespace
#endif

void ClickableMenuBar::ActOnKeyboardChoice() {
  for (const Entry& entry : entries_) {
    if (entry.shown && entry.menu == keyboard_choice_) Act(entry.on_click);
  }
}

void ClickableMenuBar::OnMenuOpen(wxMenuEvent& event) {
  event.Skip();
  for (const Entry& entry : entries_) {
    if (!entry.shown || entry.menu != event.GetMenu()) continue;
#ifdef __WXGTK__
    if (OpenedFromKeyboard()) {
      keyboard_choice_ = entry.menu;
      if (!g_object_get_data(G_OBJECT(entry.menu->m_menu), "talvo-keys")) {
        g_object_set_data(G_OBJECT(entry.menu->m_menu), "talvo-keys", entry.menu);
        g_signal_connect(entry.menu->m_menu, "key-press-event", G_CALLBACK(&OnDropDownKey), this);
      }
      return;
    }
#endif
    Act(entry.on_click);
    return;
  }
}

void ClickableMenuBar::Act(const std::function<void()>& action) {
  // While the bar is active it holds the keyboard (GTK 3.24): keys typed into a window the
  // entry opens would reach the bar and be lost. So the bar lets go first, and the entry acts
  // after that. (An empty menu would also leave the bar active, and the next click on the same
  // entry would only close it.) The frame drops this call if it is destroyed first.
  frame_->CallAfter([bar = bar_, on_click = action] {
#ifdef __WXGTK__
    if (auto* widget = static_cast<GtkWidget*>(bar->GetHandle()); GTK_IS_MENU_SHELL(widget)) {
      gtk_menu_shell_deactivate(GTK_MENU_SHELL(widget));
    }
#else
    (void)bar;
#endif
#ifdef __WXMSW__
    ::EndMenu();  // the entry's empty drop-down
#endif
    if (on_click) on_click();
  });
}

}  // namespace talvo
