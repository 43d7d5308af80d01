// A menu bar whose top-level entries act on a click, with no drop-down, and whose captions can
// change. An entry with an empty caption is kept but not shown: GTK cannot show an empty title.
// Captions are shown as they are: an "&" in one is a character, never an access key.
#pragma once

#include <functional>
#include <string>
#include <vector>

class wxFrame;
class wxMenu;
class wxMenuBar;
class wxMenuEvent;

namespace talvo {

class ClickableMenuBar;
namespace testing {
struct PartsProbe;
}

// What each system does its own way (clickable_menu_bar_gtk.cpp, _windows.cpp).
// The narrowest `bar` can be with its entries, in pixels.
int MenuBarMinimumWidth(wxMenuBar* bar);
// Whether the entry's drop-down, opening now, was opened from the keyboard and so waits: Enter
// or Space in it then calls `bar`'s ActOnKeyboardChoice.
bool HeldForKeyboardChoice(wxMenu* drop_down, ClickableMenuBar* bar);
// The bar lets go of the keyboard and closes what it has open.
void ReleaseMenuBar(wxMenuBar* bar);
// The bar on its frame or out of it, the frame's client area taking its room.
void ShowMenuBar(wxFrame* frame, wxMenuBar* bar, bool shown);

class ClickableMenuBar {
 public:
  // Prepares the frame's menu bar; it goes on the frame with Attach(), once the entries of the
  // design are in (GTK lays a bar out again on every change once it is on a window).
  explicit ClickableMenuBar(wxFrame* frame);
  ~ClickableMenuBar();
  ClickableMenuBar(const ClickableMenuBar&) = delete;
  ClickableMenuBar& operator=(const ClickableMenuBar&) = delete;

  void Attach();
  // Off the window while only the picture shows, and back.
  void ShowBar(bool shown);
  bool BarShown() const { return bar_shown_; }
  // Adds an entry at the right end; returns its index.
  int Add(const std::u16string& caption, std::function<void()> on_click);
  void SetCaption(int index, const std::u16string& caption);
  // What a click on the entry runs; an entry may get its handler after it was added.
  void SetOnClick(int index, std::function<void()> on_click);
  const std::u16string& Caption(int index) const { return entries_.at(index).caption; }
  bool IsShown(int index) const { return entries_.at(index).shown; }
  // The entry's menu while it is shown, else null: what a click on the bar reports.
  wxMenu* MenuOf(int index) const;
  int Count() const { return static_cast<int>(entries_.size()); }
  // The narrowest the bar can be with its entries, in pixels: the window is never narrower.
  int MinimumWidth() const;
  // Enter or Space on the entry the keyboard walked to.
  void ActOnKeyboardChoice();

 private:
  friend struct testing::PartsProbe;
  struct Entry {
    std::u16string caption;
    std::function<void()> on_click;
    wxMenu* menu = nullptr;  // owned by the bar while shown
    bool shown = false;
  };

  void OnMenuOpen(wxMenuEvent& event);
  // The bar lets go, then `action` runs.
  void Act(const std::function<void()>& action);
  int BarPosition(int index) const;
  void Show(int index);
  void Hide(int index);

  wxFrame* frame_;
  wxMenuBar* bar_;
  bool bar_shown_ = true;
  std::vector<Entry> entries_;
  wxMenu* keyboard_choice_ = nullptr;  // the entry the keyboard walked to last
};

}  // namespace talvo
