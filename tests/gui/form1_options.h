// Form1 as the window tests build it: recording browser views, a fresh application folder, the
// given loopback hosts, and a station timer that stays out of the way unless a test shortens it.
#pragma once

#include <stdlib.h>
#include <wx/app.h>
#include <wx/listbox.h>
#include <wx/menu.h>

#include <chrono>
#include <stdexcept>

#include "core/utf.h"
#include "mainwindow/form1.h"
#include "platform/recording_browser.h"
#include "tests/support/form1_probe.h"
#include "tests/support/loopback_server.h"

namespace talvo::testing {

inline Form1Options RecordingForm1Options(const LoopbackServer& primary, const LoopbackServer& tv) {
  char pattern[] = "/tmp/talvo-form1-XXXXXX";
  if (mkdtemp(pattern) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  Form1Options options;
  options.app_folder = pattern;
  options.config.primary_host = Utf8ToUtf16(primary.HostPort());
  options.config.tv_host = Utf8ToUtf16(tv.HostPort());
  options.browser_factory = RecordingBrowser::Factory();
  options.station_timer = std::chrono::seconds(60);
  return options;
}

// What a click on entry `row` of a list box raises.
inline void ChooseRow(wxListBox* list, int row) {
  list->SetSelection(row);
  wxCommandEvent event(wxEVT_LISTBOX, list->GetId());
  event.SetEventObject(list);
  event.SetInt(row);
  list->HandleWindowEvent(event);
}

// What GTK reports when an entry of the main window's menu bar is clicked, and the entry's
// action, which runs once the bar has let go.
inline void ClickMenuEntry(Form1& form, int entry) {
  wxMenuEvent event(wxEVT_MENU_OPEN, 0, Probe(form).Menus().MenuOf(entry));
  event.SetEventObject(&form);
  form.HandleWindowEvent(event);
  wxTheApp->ProcessPendingEvents();
}

}  // namespace talvo::testing
