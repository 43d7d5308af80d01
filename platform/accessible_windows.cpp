#include <windows.h>
#include <wx/access.h>
#include <wx/window.h>

#include "platform/accessible_ui.h"
#include "platform/wx_text.h"

namespace talvo {
namespace {

// Says the name (and, for a drawn control, the role) of the window itself; everything else,
// its children's included, is left to the system's own accessible object for the control.
class NamedAccessible : public wxAccessible {
 public:
  NamedAccessible(wxWindow* window, wxString name, bool button)
      : wxAccessible(window), name_(std::move(name)), button_(button) {}

  wxAccStatus GetName(int child, wxString* name) override {
    if (child != wxACC_SELF) return wxACC_NOT_IMPLEMENTED;
    *name = name_;
    return wxACC_OK;
  }
  wxAccStatus GetRole(int child, wxAccRole* role) override {
    if (child != wxACC_SELF || !button_) return wxACC_NOT_IMPLEMENTED;
    *role = wxROLE_SYSTEM_PUSHBUTTON;
    return wxACC_OK;
  }

 private:
  wxString name_;
  bool button_;
};

}  // namespace

void NameForReaders(wxWindow* window, const std::u16string& name) {
  window->SetAccessible(new NamedAccessible(window, ToWx(name), false));
}

void ReadAsButton(wxWindow* window, const std::u16string& name) {
  window->SetAccessible(new NamedAccessible(window, ToWx(name), true));
}

// The system's list box reads its rows' own text.
void NameRowForReaders(wxWindow*, unsigned, const std::u16string&) {}

// A hidden window is invisible to the system's readers and out of the Tab order already; one
// wholly under another is not yet.
void PassOver(wxWindow*, bool) {}

bool HighContrastDesktop() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// MSAA has no announcement a reader is sure to say (UI Automation's notification is beyond wx):
// the notice itself is what the viewer sees there.
void AnnounceToReaders(wxWindow*, const std::u16string&) {}

void TabFrom(wxWindow* window, bool backward) {
  window->Navigate(backward ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward);
}

}  // namespace talvo
