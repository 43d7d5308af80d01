// Finding a channel or station by typing: a key typed in a list opens a small box over the
// bottom of that list, and the list shows only the rows that match what the box holds. Enter
// plays the chosen row (the first match, unless the viewer moved with Up or Down); Esc, or the
// focus leaving for anything but the list, closes the box and shows every row again. The box is
// a text control of the desktop's own, so an input method can compose Chinese in it.
#pragma once

#include <optional>

#include "mainwindow/page_list_ui.h"
#include "platform/bound_handler.h"

class wxTextCtrl;
class wxWindow;

namespace talvo {

class ListFind {
 public:
  // `name` is what a screen reader calls the box.
  ListFind(wxWindow* parent, PageList& list, const std::u16string& name);

  bool IsOpen() const;
  void Close();
  // Opens the box with `typed` over the bottom of `area` (the window's client coordinates) while
  // the list is out of sight, as in the small window; the focus then goes back to `after`.
  void OpenOver(const wxRect& area, wxChar typed, wxWindow* after);

 private:
  void OnListChar(wxKeyEvent& event);
  void OnBoxKey(wxKeyEvent& event);
  void OnFocusLeft(wxFocusEvent& event);
  void Open(const wxString& typed);
  void Place();
  void Match();
  void PlayChosen();

  PageList& list_;
  wxTextCtrl* box_;
  BoundHandler<wxKeyEvent> on_list_char_;
  BoundHandler<wxKeyEvent> on_box_key_;
  BoundHandler<wxCommandEvent> on_box_text_;
  BoundHandler<wxCommandEvent> on_box_enter_;
  BoundHandler<wxFocusEvent> on_box_left_;
  BoundHandler<wxFocusEvent> on_list_left_;
  BoundHandler<wxSizeEvent> on_list_sized_;
  BoundHandler<wxShowEvent> on_list_shown_;
  // What the list had chosen and had opened when the box opened: Esc gives the choice back.
  std::optional<std::size_t> chosen_before_;
  std::optional<std::size_t> opened_before_;
  std::optional<wxRect> over_;
  wxWindow* after_ = nullptr;
};

}  // namespace talvo
