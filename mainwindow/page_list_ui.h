// A list box of pages: the channel list List2 and the station list List1. Entries are appended
// in one batch, each with its page address; choosing one opens its page in the playback view.
#pragma once

#include <vector>

#include "mainwindow/line_pairs.h"
#include "mainwindow/page_list.h"
#include "platform/bound_handler.h"

class wxListBox;

namespace talvo {

class BrowserView;

class PageList {
 public:
  PageList(wxListBox* list, BrowserView& playback);

  wxListBox* List() const { return list_; }
  const PageTable& Urls() const { return urls_; }

  void Append(const std::vector<LinePair>& entries);
  // The next (1) or previous (-1) entry, chosen and opened as a click does.
  void Step(int by);

 private:
  // List2_Click / List1_Click.
  void OnChosen(wxCommandEvent& event);
  // A click on the entry already chosen changes no selection, so the list reports nothing; it
  // opens the page again all the same: that is how a viewer retries a stalled channel.
  void OnPressed(wxMouseEvent& event);
  void OnReleased(wxMouseEvent& event);
  void Open(int selection);

  wxListBox* list_;
  int pressed_on_chosen_ = -1;  // the chosen entry the button went down on
  BrowserView& playback_;
  PageTable urls_;
  BoundHandler<wxCommandEvent> on_chosen_;
  BoundHandler<wxMouseEvent> on_pressed_;
  BoundHandler<wxMouseEvent> on_released_;
};

}  // namespace talvo
