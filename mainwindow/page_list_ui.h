// A list box of pages: the channel list List2 and the station list List1. Entries are appended
// in one batch, each with its page address; choosing one opens its page in the playback view.
// While the viewer finds by typing, only some entries are on show: a row's number is then not
// its entry's position, and every row still leads to its own entry's page.
#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "mainwindow/line_pairs.h"
#include "mainwindow/list_find.h"
#include "mainwindow/page_list.h"
#include "platform/bound_handler.h"

class wxListBox;
class wxString;

namespace talvo {
namespace testing {
struct PartsProbe;
}

class BrowserView;

class PageList {
 public:
  PageList(wxListBox* list, BrowserView& playback);

  wxListBox* List() const { return list_; }
  const PageTable& Urls() const { return urls_; }
  // Made when first asked for, by the find box: pinyin is no part of a start.
  const std::vector<FindableName>& Findable() const;
  const std::u16string& Name(std::size_t position) const { return names_.at(position); }

  void Append(const std::vector<LinePair>& entries);
  // The next (1) or previous (-1) row on show, chosen and opened as a click does.
  void Step(int by);

  // Shows only the entries at `positions`, in that order, none chosen; each row still opens its
  // own entry's page. ShowAll puts every entry back, none chosen.
  void ShowOnly(const std::vector<std::size_t>& positions);
  void ShowAll();
  // Chooses the row of the entry at `position` without opening it; nothing, or an entry not on
  // show, leaves no row chosen.
  void Choose(std::optional<std::size_t> position);
  // The entry at list position `position`, chosen (where it is on show) and opened.
  void Play(std::size_t position);
  // The position of the entry the row `row` on show stands for; nothing for no row.
  std::optional<std::size_t> PositionOfRow(int row) const;
  std::optional<std::size_t> Chosen() const;
  // The entry whose page was opened last.
  std::optional<std::size_t> LastOpened() const { return last_opened_; }
  // The position of the first entry whose page is at `address`.
  std::optional<std::size_t> Find(std::u16string_view address) const;
  // Rows whose address `marked` says yes to are shown with ★ before the name; the name itself
  // is unchanged for finding and for everything sent to the service. MarksChanged shows them
  // again.
  void SetMarked(std::function<bool(const std::u16string&)> marked) { marked_ = std::move(marked); }
  void MarksChanged();
  // Runs after an entry's page was opened, with the entry's position and address.
  void SetOpened(std::function<void(std::size_t, const std::u16string&)> opened) {
    opened_ = std::move(opened);
  }

 private:
  friend struct testing::PartsProbe;

  // List2_Click / List1_Click.
  void OnChosen(wxCommandEvent& event);
  // A click on the entry already chosen changes no selection, so the list reports nothing; it
  // opens the page again all the same: that is how a viewer retries a stalled channel.
  void OnPressed(wxMouseEvent& event);
  void OnReleased(wxMouseEvent& event);
  void Open(int row);
  void Fill();
  wxString RowText(std::size_t position) const;
  // A screen reader would say the mark's symbol: rows `first` to `end` are read with what it
  // means.
  void NameMarkedRows(unsigned first, unsigned end);

  wxListBox* list_;
  int pressed_on_chosen_ = -1;      // the chosen entry the button went down on
  bool focusing_unchosen_ = false;  // the focus arrives on a list with nothing chosen
  BrowserView& playback_;
  PageTable urls_;
  std::vector<std::u16string> names_;
  mutable std::vector<FindableName> findable_;
  // The positions on show, row by row; nothing with every entry on show.
  std::optional<std::vector<std::size_t>> shown_;
  std::optional<std::size_t> last_opened_;
  std::function<bool(const std::u16string&)> marked_;
  std::function<void(std::size_t, const std::u16string&)> opened_;
  BoundHandler<wxCommandEvent> on_chosen_;
  BoundHandler<wxMouseEvent> on_pressed_;
  BoundHandler<wxMouseEvent> on_released_;
  BoundHandler<wxFocusEvent> on_focused_;
};

}  // namespace talvo
