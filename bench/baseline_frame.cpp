// The floor of this stack for the start-up benchmark, as fair as a CJK client can have it: a
// frame with a Chinese title, a menu bar of four Chinese entries, a list of six Chinese entries
// and two browser views made the way the client makes them, on about:blank, shown at once.
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/menu.h>

#include "platform/web/page_memory.h"
#include "platform/web/rendering_path_probe.h"
#include "platform/web/webview_browser.h"

class BaselineApp : public wxApp {
 public:
  bool OnInit() override {
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxString::FromUTF8("塔沃高清影音 V2.02 baseline"));
    auto* bar = new wxMenuBar;
    for (const char* caption : {"看电视", "听广播", "账号登陆", "窗口置顶"}) {
      bar->Append(new wxMenu, wxString::FromUTF8(caption));
    }
    frame->SetMenuBar(bar);
    auto* list = new wxListBox(frame, wxID_ANY, wxPoint(0, 0), wxSize(129, 324));
    for (const char* name : {"北京卫视高清", "广东卫视高清", "江苏卫视高清", "深圳卫视高清",
                             "浙江卫视高清", "黑龙江卫视高清"}) {
      list->Append(wxString::FromUTF8(name));
    }
    for (const wxRect& rect : {wxRect(136, 0, 585, 297), wxRect(136, 480, 753, 97)}) {
      views_.push_back(talvo::CreateWebViewBrowser(frame));
      views_.back()->Window()->SetSize(rect);
      views_.back()->Navigate(u"about:blank");
    }
    frame->SetClientSize(917, 580);
    frame->Show();
    return true;
  }

 private:
  std::vector<std::unique_ptr<talvo::BrowserView>> views_;
};

wxIMPLEMENT_APP_NO_MAIN(BaselineApp);

// The page processes' heap and the views' drawing path as the client sets them, before GTK.
int main(int argc, char** argv) {
  talvo::PreparePageProcessTunables();
  talvo::StartChoosingRenderingPath(talvo::Acceleration::kAuto);
  return wxEntry(argc, argv);
}
