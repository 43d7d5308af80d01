#include "mainwindow/channel_list.h"

#include <wx/arrstr.h>
#include <wx/listbox.h>

#include "mainwindow/design.h"
#include "mainwindow/list_font.h"
#include "platform/browser_view.h"
#include "platform/wx_text.h"

namespace talvo {

ChannelList::ChannelList(wxWindow* parent, BrowserView& playback, std::u16string channel_host)
    : list_(new wxListBox(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                          wxLB_SINGLE | wxLB_NEEDED_SB)),
      playback_(playback),
      channel_host_(std::move(channel_host)) {
  list_->SetName("List2");
  list_->SetBackgroundColour(*wxBLACK);
  list_->SetForegroundColour(*wxWHITE);
  list_->SetFont(ListFont());
  PlaceInTwips(list_, design::kList2);
  list_->Bind(wxEVT_LISTBOX, &ChannelList::List2_Click, this);
}

void ChannelList::FillBuiltIns() {
  wxArrayString names;
  for (const BuiltInChannel& channel : kBuiltInChannels) names.Add(ToWx(channel.name));
  list_->Append(names);
}

void ChannelList::Append(const std::vector<LinePair>& entries) {
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

void ChannelList::List2_Click(wxCommandEvent&) {
  const int selection = list_->GetSelection();
  if (list_->IsEmpty() || selection == wxNOT_FOUND) return;
  const auto position = static_cast<std::size_t>(selection);
  const std::optional<std::u16string> address =
      ChannelAddress(position, FromWx(list_->GetString(selection)), urls_, channel_host_);
  if (address) playback_.Navigate(*address);
}

}  // namespace talvo
