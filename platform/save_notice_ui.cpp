#include "platform/save_notice_ui.h"

#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/stattext.h>

#include <algorithm>

#include "platform/accessible_ui.h"
#include "platform/wx_text.h"

namespace talvo {
namespace {

// Long enough to be read twice, short enough not to sit over the picture.
constexpr int kShownMs = 6000;
constexpr int kPadding = 4;

}  // namespace

SaveNotice::SaveNotice(wxFrame* frame)
    : frame_(frame),
      line_(new wxPanel(frame, wxID_ANY)),
      text_(new wxStaticText(line_, wxID_ANY, wxEmptyString)),
      hide_(line_),
      on_size_(frame, wxEVT_SIZE,
               [this](wxSizeEvent& event) {
                 if (line_->IsShown()) Place();
                 event.Skip();
               }),
      on_hide_(line_, wxEVT_TIMER, [this](wxTimerEvent&) {
        line_->Hide();
        PassOver(line_, true);
      }) {
  line_->SetName("SaveNotice");
  line_->SetCanFocus(false);
  // The tooltip's colours: the desktop's own, high contrast included.
  line_->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_INFOBK));
  text_->SetForegroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_INFOTEXT));
  line_->Hide();
  PassOver(line_, true);
}

SaveNotice::~SaveNotice() { hide_.Stop(); }

void SaveNotice::Saved(const std::u16string& what, SaveTrouble trouble) {
  const auto known = std::find(failing_.begin(), failing_.end(), what);
  if (trouble == SaveTrouble::kNone) {
    if (known != failing_.end()) failing_.erase(known);
    return;
  }
  if (known != failing_.end()) return;
  failing_.push_back(what);
  Tell(u"无法保存" + what + u"：" + SaveTroubleWords(trouble));
}

void SaveNotice::Tell(const std::u16string& text) {
  text_->SetLabel(ToWx(text));
  Place();
  PassOver(line_, false);
  line_->Show();
  line_->Raise();
  AnnounceToReaders(frame_, FromWx(text_->GetLabel()));
  hide_.StartOnce(kShownMs);
}

std::u16string SaveNotice::Shown() const {
  return line_->IsShown() ? FromWx(text_->GetLabel()) : std::u16string();
}

void SaveNotice::Place() {
  const wxSize client = frame_->GetClientSize();
  const wxSize text = text_->GetBestSize();
  const int height = text.y + 2 * kPadding;
  line_->SetSize(0, client.y - height, client.x, height);
  text_->Move(kPadding * 2, kPadding);
}

}  // namespace talvo
