#include <windows.h>
#include <wx/access.h>
#include <wx/window.h>

#include <unordered_map>

#include "platform/accessible_ui.h"
#include "platform/wx_text.h"

namespace talvo {
namespace {

// Says the name (and, for a drawn control, the role) of the window itself; everything else,
// its children's included, is left to the system's own accessible object for the control.
class NamedAccessible : public wxAccessible {
 public:
  enum class Role { kOwn, kButton, kAlert };
  NamedAccessible(wxWindow* window, wxString name, Role role)
      : wxAccessible(window), name_(std::move(name)), role_(role) {}

  wxAccStatus GetName(int child, wxString* name) override {
    if (child != wxACC_SELF) return wxACC_NOT_IMPLEMENTED;
    *name = name_;
    return wxACC_OK;
  }
  wxAccStatus GetRole(int child, wxAccRole* role) override {
    if (child != wxACC_SELF || role_ == Role::kOwn) return wxACC_NOT_IMPLEMENTED;
    *role = role_ == Role::kButton ? wxROLE_SYSTEM_PUSHBUTTON : wxROLE_SYSTEM_ALERT;
    return wxACC_OK;
  }

 private:
  wxString name_;
  Role role_;
};

}  // namespace

void NameForReaders(wxWindow* window, const std::u16string& name) {
  window->SetAccessible(new NamedAccessible(window, ToWx(name), NamedAccessible::Role::kOwn));
}

void ReadAsButton(wxWindow* window, const std::u16string& name) {
  window->SetAccessible(new NamedAccessible(window, ToWx(name), NamedAccessible::Role::kButton));
}

// The system's list box reads its rows' own text.
void NameRowForReaders(wxWindow*, unsigned, const std::u16string&) {}

// Tab skips a disabled window, and readers say it is unavailable; a window wholly under another
// looks the same either way. (Once wx has turned a window's keyboard focus off, it offers no way
// back.) Only what was disabled here is enabled again.
void PassOver(wxWindow* window, bool passed) {
  static std::unordered_map<wxWindow*, bool> disabled_here;
  if (disabled_here.find(window) == disabled_here.end()) {
    disabled_here[window] = false;
    window->Bind(wxEVT_DESTROY, [window](wxWindowDestroyEvent& event) {
      event.Skip();
      if (event.GetEventObject() == window) disabled_here.erase(window);
    });
  }
  bool& mine = disabled_here[window];
  if (passed && !mine && window->IsThisEnabled()) {
    mine = true;
    window->Disable();
  } else if (!passed && mine) {
    mine = false;
    window->Enable();
  }
}

bool HighContrastDesktop() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// MSAA has no announcement of its own: an alert is what the system's readers speak at once. The
// top-level window gets a child of no size that carries the alert's text as its name.
void AnnounceToReaders(wxWindow* window, const std::u16string& text) {
  wxWindow* top = wxGetTopLevelParent(window);
  if (top == nullptr) return;
  wxWindow* announcer = top->FindWindow("announcer");
  if (announcer == nullptr) {
    announcer = new wxWindow(top, wxID_ANY, wxDefaultPosition, wxSize(0, 0));
    announcer->SetName("announcer");
    announcer->DisableFocusFromKeyboard();
  }
  announcer->SetAccessible(
      new NamedAccessible(announcer, ToWx(text), NamedAccessible::Role::kAlert));
  wxAccessible::NotifyEvent(wxACC_EVENT_SYSTEM_ALERT, announcer, wxOBJID_CLIENT, wxACC_SELF);
}

void TabFrom(wxWindow* window, bool backward) {
  window->Navigate(backward ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward);
}

}  // namespace talvo
