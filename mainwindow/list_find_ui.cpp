#include "mainwindow/list_find_ui.h"

#include <wx/listbox.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "platform/accessible_ui.h"
#include "platform/wx_text.h"

namespace talvo {

ListFind::ListFind(wxWindow* parent, PageList& list, const std::u16string& name)
    : list_(list),
      box_(new wxTextCtrl(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                          wxTE_PROCESS_ENTER)),
      on_list_char_(list.List(), wxEVT_CHAR, [this](wxKeyEvent& event) { OnListChar(event); }),
      on_box_key_(box_, wxEVT_KEY_DOWN, [this](wxKeyEvent& event) { OnBoxKey(event); }),
      on_box_text_(box_, wxEVT_TEXT, [this](wxCommandEvent&) { Match(); }),
      on_box_enter_(box_, wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { PlayChosen(); }),
      on_box_left_(box_, wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) { OnFocusLeft(event); }),
      on_list_left_(list.List(), wxEVT_KILL_FOCUS,
                    [this](wxFocusEvent& event) { OnFocusLeft(event); }),
      // The layout moves and sizes the list with the window: the box goes with it.
      on_list_sized_(list.List(), wxEVT_SIZE,
                     [this](wxSizeEvent& event) {
                       event.Skip();
                       if (IsOpen()) Place();
                     }),
      // Fullscreen and the view switches hide the list: what was found goes with it.
      on_list_shown_(list.List(), wxEVT_SHOW, [this](wxShowEvent& event) {
        event.Skip();
        if (!event.IsShown()) Close();
      }) {
  box_->Hide();
  NameForReaders(box_, name);
  PassOver(box_, true);
}

bool ListFind::IsOpen() const { return box_->IsShown(); }

// Letters, digits and punctuation open the box; keys the list has a use for (arrows, Space,
// Backspace, anything held with Ctrl or Alt) stay the list's.
void ListFind::OnListChar(wxKeyEvent& event) {
  const wxChar typed = event.GetUnicodeKey();
  if (typed == WXK_NONE || typed <= u' ' || typed == WXK_DELETE || event.HasAnyModifiers()) {
    event.Skip();
    return;
  }
  Open(IsOpen() ? box_->GetValue() + wxString(typed) : wxString(typed));
}

void ListFind::Open(const wxString& typed) {
  if (!IsOpen()) {
    chosen_before_ = list_.Chosen();
    opened_before_ = list_.LastOpened();
  }
  Place();
  PassOver(box_, false);
  box_->Show();
  box_->Raise();
  box_->ChangeValue(typed);
  box_->SetFocus();
  box_->SetInsertionPointEnd();
  Match();
}

void ListFind::OpenOver(const wxRect& area, wxChar typed, wxWindow* after) {
  over_ = area;
  after_ = after;
  Open(IsOpen() ? box_->GetValue() + wxString(typed) : wxString(typed));
}

void ListFind::Place() {
  const wxRect list = over_.value_or(list_.List()->GetRect());
  const int height = box_->GetBestSize().y;
  box_->SetSize(list.x, list.GetBottom() + 1 - height, list.width, height);
}

void ListFind::Match() {
  list_.ShowOnly(MatchingRows(list_.Findable(), FromWx(box_->GetValue())));
  if (list_.List()->GetCount() > 0) list_.List()->SetSelection(0);
}

void ListFind::OnBoxKey(wxKeyEvent& event) {
  wxListBox* list = list_.List();
  const int rows = static_cast<int>(list->GetCount());
  switch (event.GetKeyCode()) {
    case WXK_ESCAPE:
      (after_ != nullptr ? after_ : list)->SetFocus();
      Close();
      return;
    case WXK_DOWN:
    case WXK_UP:
      if (rows > 0) {
        const int by = event.GetKeyCode() == WXK_DOWN ? 1 : -1;
        list->SetSelection(std::clamp(list->GetSelection() + by, 0, rows - 1));
      }
      return;
    default:
      event.Skip();
  }
}

void ListFind::PlayChosen() {
  const std::optional<std::size_t> position = list_.PositionOfRow(list_.List()->GetSelection());
  (after_ != nullptr ? after_ : list_.List())->SetFocus();
  Close();
  if (position) list_.Play(*position);
}

// Clicking a row of what was found keeps the box; the focus going anywhere else but between the
// box and the list ends the find.
void ListFind::OnFocusLeft(wxFocusEvent& event) {
  event.Skip();
  if (event.GetWindow() != list_.List() && event.GetWindow() != box_) Close();
}

void ListFind::Close() {
  if (!IsOpen()) return;
  box_->Hide();
  PassOver(box_, true);
  box_->ChangeValue(wxEmptyString);
  over_.reset();
  after_ = nullptr;
  list_.ShowAll();
  // A row played while the box was open stays chosen; otherwise the choice from before.
  list_.Choose(list_.LastOpened() != opened_before_ ? list_.LastOpened() : chosen_before_);
}

}  // namespace talvo
