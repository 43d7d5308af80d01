#include "platform/web/no_engine_view.h"

#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "platform/wx_text.h"

namespace talvo {
namespace {

class NoEngineView final : public BrowserView {
 public:
  explicit NoEngineView(wxPanel* panel) : BrowserView(panel) {
    panel->SetBackgroundColour(*wxBLACK);
    auto* text =
        new wxStaticText(panel, wxID_ANY, ToWx(u"此电脑没有可用的网页浏览组件，无法显示频道页面。"),
                         wxDefaultPosition, wxDefaultSize, wxALIGN_CENTRE_HORIZONTAL);
    text->SetForegroundColour(*wxWHITE);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->AddStretchSpacer();
    sizer->Add(text, 0, wxEXPAND | wxALL, 8);
    sizer->AddStretchSpacer();
    panel->SetSizer(sizer);
  }
  void Navigate(const std::u16string&) override {}
  void SetSilent(bool) override {}
  void SetSound(bool, int) override {}
  void SetProxy(const std::string&) override {}
  void ReadBodyText(std::function<void(std::u16string)> done) override { done({}); }
};

}  // namespace

std::unique_ptr<BrowserView> CreateNoEngineView(wxWindow* parent) {
  return std::make_unique<NoEngineView>(new wxPanel(parent));
}

}  // namespace talvo
