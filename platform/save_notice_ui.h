// What the viewer is told when a file of theirs could not be saved: one line over the bottom of
// the main window ("无法保存设置：磁盘已满") that goes away by itself, never a dialog, so that
// watching goes on. Each file's failure is told once, and again only after it was saved since.
// Other short words to the viewer use the same line.
#pragma once

#include <wx/timer.h>

#include <string>
#include <vector>

#include "core/stored_file.h"
#include "platform/bound_handler.h"

class wxFrame;
class wxPanel;
class wxStaticText;

namespace talvo {

class SaveNotice {
 public:
  explicit SaveNotice(wxFrame* frame);
  ~SaveNotice();

  // The outcome of saving `what` ("设置", "账号"): a failure shows the line, unless this file's
  // failure is on record already.
  void Saved(const std::u16string& what, SaveTrouble trouble);
  // Any other short word to the viewer on the same line ("客厅电视 已断开，投屏结束").
  void Tell(const std::u16string& text);
  // The line on show; empty when none is.
  std::u16string Shown() const;

 private:
  void Place();

  wxFrame* frame_;
  wxPanel* line_;
  wxStaticText* text_;
  wxTimer hide_;
  std::vector<std::u16string> failing_;
  BoundHandler<wxSizeEvent> on_size_;
  BoundHandler<wxTimerEvent> on_hide_;
};

}  // namespace talvo
