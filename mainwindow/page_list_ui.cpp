#include "mainwindow/page_list_ui.h"

#include <wx/arrstr.h>
#include <wx/listbox.h>

#include "platform/browser_view.h"
#include "platform/wx_text.h"

namespace talvo {

PageList::PageList(wxListBox* list, BrowserView& playback)
    : list_(list),
      playback_(playback),
      on_chosen_(list, wxEVT_LISTBOX, [this](wxCommandEvent& event) { OnChosen(event); }),
      on_pressed_(list, wxEVT_LEFT_DOWN, [this](wxMouseEvent& event) { OnPressed(event); }),
      on_released_(list, wxEVT_LEFT_UP, [this](wxMouseEvent& event) { OnReleased(event); }) {}

void PageList::Append(const std::vector<LinePair>& entries) {
  if (entries.empty()) return;
  wxArrayString names;
  names.Alloc(entries.size());
  std::size_t position = list_->GetCount();
  for (const LinePair& entry : entries) {
    names.Add(ToWx(entry.name));
    urls_.Set(position++, entry.address);
  }
  list_->Append(names);
}

void PageList::OnChosen(wxCommandEvent&) { Open(list_->GetSelection()); }

void PageList::Step(int by) {
  const int row = SteppedRow(list_->GetSelection(), static_cast<int>(list_->GetCount()), by);
  if (row < 0) return;
  list_->SetSelection(row);
  Open(row);
}

// The list has not handled the press yet: the selection is still the one before the click.
void PageList::OnPressed(wxMouseEvent& event) {
  event.Skip();
  const int row = list_->HitTest(event.GetPosition());
  pressed_on_chosen_ = row != wxNOT_FOUND && row == list_->GetSelection() ? row : -1;
}

void PageList::OnReleased(wxMouseEvent& event) {
  event.Skip();
  const int pressed = pressed_on_chosen_;
  pressed_on_chosen_ = -1;
  if (pressed != -1 && list_->HitTest(event.GetPosition()) == pressed &&
      list_->GetSelection() == pressed) {
    Open(pressed);
  }
}

void PageList::Open(int selection) {
  if (list_->IsEmpty() || selection == wxNOT_FOUND) return;
  const std::optional<std::u16string> address =
      PageAddress(static_cast<std::size_t>(selection), FromWx(list_->GetString(selection)), urls_);
  if (address) playback_.NavigateToWebAddress(*address);
}

}  // namespace talvo
