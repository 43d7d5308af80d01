// The channel list List2: six built-in HD channels, then the account's programme entries;
// choosing one shows its page in the playback view.
#pragma once

#include <string>
#include <vector>

#include "mainwindow/channel_table.h"
#include "mainwindow/line_pairs.h"

class wxCommandEvent;
class wxListBox;
class wxWindow;

namespace talvo {

class BrowserView;

class ChannelList {
 public:
  ChannelList(wxWindow* parent, BrowserView& playback, std::u16string channel_host);

  wxListBox* List2() const { return list_; }
  const PageTable& ChannelUrls() const { return urls_; }

  void FillBuiltIns();
  // Appends entries in one batch, each with its page address.
  void Append(const std::vector<LinePair>& entries);

 private:
  void List2_Click(wxCommandEvent& event);

  wxListBox* list_;
  BrowserView& playback_;
  std::u16string channel_host_;
  PageTable urls_;
};

}  // namespace talvo
