#include "tests/support/recording_browser.h"

#include <wx/window.h>

namespace talvo {

RecordingBrowser::RecordingBrowser(wxWindow* parent)
    : BrowserView(new wxWindow(parent, wxID_ANY)) {}

void RecordingBrowser::Navigate(const std::u16string& address) { navigations_.push_back(address); }

void RecordingBrowser::FinishLoad(const std::u16string& body_text) {
  body_text_ = body_text;
  NotifyLoadCompleted();
}

BrowserViewFactory RecordingBrowser::Factory() {
  return [](wxWindow* parent) { return std::make_unique<RecordingBrowser>(parent); };
}

}  // namespace talvo
