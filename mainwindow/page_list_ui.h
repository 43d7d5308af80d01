// A list box of pages: the channel list List2 and the station list List1. Entries are appended
// in one batch, each with its page address; choosing one opens its page in the playback view.
#pragma once

#include <vector>

#include "mainwindow/line_pairs.h"
#include "mainwindow/page_list.h"

class wxCommandEvent;
class wxListBox;

namespace talvo {

class BrowserView;

class PageList {
 public:
  PageList(wxListBox* list, BrowserView& playback);

  wxListBox* List() const { return list_; }
  const PageTable& Urls() const { return urls_; }

  void Append(const std::vector<LinePair>& entries);

 private:
  // List2_Click / List1_Click.
  void OnChosen(wxCommandEvent& event);

  wxListBox* list_;
  BrowserView& playback_;
  PageTable urls_;
};

}  // namespace talvo
