#include "platform/clickable_menu_bar.h"

#include <wx/frame.h>
#include <wx/menu.h>

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

void ClickableMenuBar::ShowBar(bool shown) {
  bar_shown_ = shown;
  if (frame_->GetMenuBar() == bar_) ShowMenuBar(frame_, bar_, shown);
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

int ClickableMenuBar::MinimumWidth() const { return MenuBarMinimumWidth(bar_); }

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

void ClickableMenuBar::ActOnKeyboardChoice() {
  for (const Entry& entry : entries_) {
    if (entry.shown && entry.menu == keyboard_choice_) Act(entry.on_click);
  }
}

void ClickableMenuBar::OnMenuOpen(wxMenuEvent& event) {
  event.Skip();
  for (const Entry& entry : entries_) {
    if (!entry.shown || entry.menu != event.GetMenu()) continue;
    if (HeldForKeyboardChoice(entry.menu, this)) {
      keyboard_choice_ = entry.menu;
      return;
    }
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
    ReleaseMenuBar(bar);
    if (on_click) on_click();
  });
}

}  // namespace talvo
