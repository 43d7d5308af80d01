// The floor of this stack for the start-up benchmark: a bare frame holding two wxWebViews on
// about:blank, shown at once. Same title as the client, so the benchmark finds it the same way.
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/webview.h>

class BaselineApp : public wxApp {
 public:
  bool OnInit() override {
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxString::FromUTF8("塔沃高清影音 V2.02 baseline"));
    wxWebView::New(frame, wxID_ANY, wxWebViewDefaultURLStr, wxPoint(0, 0), wxSize(585, 297));
    wxWebView::New(frame, wxID_ANY, wxWebViewDefaultURLStr, wxPoint(136, 480), wxSize(753, 97));
    frame->SetClientSize(917, 580);
    frame->Show();
    return true;
  }
};

wxIMPLEMENT_APP(BaselineApp);
