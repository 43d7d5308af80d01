#include "mainwindow/page_list_ui.h"

#include <wx/arrstr.h>
#include <wx/listbox.h>

#include "platform/browser_view.h"
#include "platform/wx_text.h"

namespace talvo {

PageList::PageList(wxListBox* list, BrowserView& playback) : list_(list), playback_(playback) {
  list_->Bind(wxEVT_LISTBOX, &PageList::OnChosen, this);
}

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

void PageList::OnChosen(wxCommandEvent&) {
  const int selection = list_->GetSelection();
  if (list_->IsEmpty() || selection == wxNOT_FOUND) return;
  const std::optional<std::u16string> address = PageAddress(
      static_cast<std::size_t>(selection), FromWx(list_->GetString(selection)), urls_);
  if (address) playback_.NavigateToWebAddress(*address);
}

}  // namespace talvo
