#include "mainwindow/page_list_ui.h"

#include <wx/arrstr.h>
#include <wx/listbox.h>

#include <algorithm>

#include "platform/accessible_ui.h"
#include "platform/web/browser_view.h"
#include "platform/wx_text.h"

namespace talvo {

PageList::PageList(wxListBox* list, BrowserView& playback)
    : list_(list),
      playback_(playback),
      on_chosen_(list, wxEVT_LISTBOX, [this](wxCommandEvent& event) { OnChosen(event); }),
      on_pressed_(list, wxEVT_LEFT_DOWN, [this](wxMouseEvent& event) { OnPressed(event); }),
      on_released_(list, wxEVT_LEFT_UP, [this](wxMouseEvent& event) { OnReleased(event); }),
      // Tab into a list with nothing chosen: the desktop's list marks its first row as it takes
      // the focus. That is where the keyboard starts, not a choice: nothing plays.
      on_focused_(list, wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
        event.Skip();
        if (list_->GetSelection() != wxNOT_FOUND) return;
        focusing_unchosen_ = true;
        list_->CallAfter([this] { focusing_unchosen_ = false; });
      }) {}

void PageList::Append(const std::vector<LinePair>& entries) {
  if (entries.empty()) return;
  wxArrayString names;
  names.Alloc(entries.size());
  for (const LinePair& entry : entries) {
    urls_.Set(names_.size(), entry.address);
    names_.push_back(entry.name);
    names.Add(RowText(names_.size() - 1));
  }
  // Rows found by typing stay as they are; the new entries show once every entry is back.
  if (shown_) return;
  const unsigned first = list_->GetCount();
  list_->Append(names);
  NameMarkedRows(first, list_->GetCount());
}

void PageList::OnChosen(wxCommandEvent&) {
  if (focusing_unchosen_) {
    focusing_unchosen_ = false;
    list_->SetSelection(wxNOT_FOUND);
    return;
  }
  Open(list_->GetSelection());
}

void PageList::Step(int by) {
  const int row = SteppedRow(list_->GetSelection(), static_cast<int>(list_->GetCount()), by);
  if (row < 0) return;
  list_->SetSelection(row);
  Open(row);
}

const std::vector<FindableName>& PageList::Findable() const {
  while (findable_.size() < names_.size())
    findable_.push_back(MakeFindable(names_[findable_.size()]));
  return findable_;
}

std::optional<std::size_t> PageList::PositionOfRow(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= list_->GetCount()) return std::nullopt;
  if (!shown_) return static_cast<std::size_t>(row);
  return (*shown_)[static_cast<std::size_t>(row)];
}

void PageList::Fill() {
  wxArrayString rows;
  if (shown_) {
    for (const std::size_t position : *shown_) rows.Add(RowText(position));
  } else {
    for (std::size_t position = 0; position < names_.size(); ++position) {
      rows.Add(RowText(position));
    }
  }
  list_->Set(rows);
  NameMarkedRows(0, list_->GetCount());
}

wxString PageList::RowText(std::size_t position) const {
  const bool marked = marked_ && !names_[position].empty() && marked_(urls_.At(position));
  return ToWx(marked ? u"★ " + names_[position] : names_[position]);
}

// Row by row, so that the chosen row stays chosen and the list does not scroll.
void PageList::MarksChanged() {
  for (unsigned row = 0; row < list_->GetCount(); ++row) {
    const wxString text = RowText(*PositionOfRow(static_cast<int>(row)));
    if (list_->GetString(row) == text) continue;
    list_->SetString(row, text);
    NameMarkedRows(row, row + 1);
  }
}

void PageList::NameMarkedRows(unsigned first, unsigned end) {
  for (unsigned row = first; row < end; ++row) {
    const std::u16string text = FromWx(list_->GetString(row));
    if (text.starts_with(u"★ ")) NameRowForReaders(list_, row, u"收藏 " + text.substr(2));
  }
}

std::optional<std::size_t> PageList::Find(std::u16string_view address) const {
  for (std::size_t position = 0; position < names_.size(); ++position) {
    if (!names_[position].empty() && urls_.At(position) == address) return position;
  }
  return std::nullopt;
}

void PageList::ShowOnly(const std::vector<std::size_t>& positions) {
  shown_ = positions;
  Fill();
}

void PageList::ShowAll() {
  if (!shown_) return;
  shown_.reset();
  Fill();
}

std::optional<std::size_t> PageList::Chosen() const { return PositionOfRow(list_->GetSelection()); }

void PageList::Choose(std::optional<std::size_t> position) {
  int row = wxNOT_FOUND;
  if (position && *position < names_.size()) {
    row = static_cast<int>(*position);
    if (shown_) {
      const auto at = std::find(shown_->begin(), shown_->end(), *position);
      row = at != shown_->end() ? static_cast<int>(at - shown_->begin()) : wxNOT_FOUND;
    }
  }
  list_->SetSelection(row);
}

void PageList::Play(std::size_t position) {
  if (position >= names_.size()) return;
  Choose(position);
  const std::optional<std::u16string> address = PageAddress(position, names_[position], urls_);
  if (!address || !playback_.NavigateToWebAddress(*address)) return;
  NameForReaders(playback_.Window(), names_[position]);
  AnnounceToReaders(list_, u"正在播放 " + names_[position]);
  last_opened_ = position;
  if (opened_) opened_(position, *address);
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

void PageList::Open(int row) {
  const std::optional<std::size_t> position = PositionOfRow(row);
  if (position) Play(*position);
}

}  // namespace talvo
