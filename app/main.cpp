// talvo: the application is its main window.
#include <wx/app.h>
#include <wx/weakref.h>

#include <thread>

#include "core/debug_trace.h"
#include "core/fetcher.h"
#include "mainwindow/form1.h"
#include "platform/app_icons.h"
#include "platform/autostart.h"
#include "platform/config.h"
#include "platform/desktop_session_ui.h"
#include "platform/diagnostics.h"
#include "platform/fetch_wait.h"
#include "platform/single_instance.h"

namespace talvo {
namespace {

// Read once, in main(), before the toolkit starts: the drawing path's probe needs the configuration
// then.
std::filesystem::path g_app_folder;
Config g_config;
std::unique_ptr<SingleInstance> g_instance;

}  // namespace

class TalvoApp : public wxApp {
 public:
  bool OnInit() override {
    // Before anything can log or assert: no message box, ever.
    delete RouteLogTo(stderr);
    RouteAssertsToStderr();
    AnnounceApplication();
    // Ready before start-up's first request, on the other core while GTK and WebKit start.
    prepare_fetching_ = std::thread(PrepareFetching);
    Form1Options options;
    options.config = g_config;
    options.app_folder = g_app_folder;
    bool start_in_tray = false;
    for (int i = 1; i < argc; ++i) start_in_tray |= argv[i] == kTrayArgument;
    options.start_in_tray = start_in_tray;

    FetchLimits limits;
    limits.connect = options.config.connect_timeout;
    limits.total = options.config.request_timeout;
    limits.proxy = options.config.proxy;
    SetFetchLimits(limits);
    InstallEventLoopFetchWait();

    auto* form = new Form1(std::move(options));
    SetTopWindow(form);
    // Timers and page loads are served while start-up waits (the fetch runs an event loop of
    // its own until the main one starts); the window appears once start-up is done.
    form->Form_Load();
    if (!start_in_tray) form->Show();
    g_instance->SetOnShow([form = wxWeakRef<Form1>(form)](const std::string& startup_id) {
      if (form) form->BringForward(startup_id);
    });
    return true;
  }

  int OnExit() override {
    g_instance.reset();
    if (prepare_fetching_.joinable()) prepare_fetching_.join();
    SetFetchesEnabled(false);
    return wxApp::OnExit();
  }

 private:
  std::thread prepare_fetching_;
};

}  // namespace talvo

wxIMPLEMENT_APP_NO_MAIN(talvo::TalvoApp);

int main(int argc, char** argv) {
  talvo::g_app_folder = talvo::AppFolder();
  // A start while a client runs on this folder only brings that one's window forward, before it
  // reads or writes anything.
  talvo::g_instance = talvo::HoldAppFolder(talvo::g_app_folder);
  if (!talvo::g_instance) return 0;
  // From here on, what fails is recorded where a person helping the viewer can read it.
  talvo::SetTraceLog(talvo::g_app_folder / "talvo.log");
  talvo::g_config = talvo::LoadConfig(talvo::g_app_folder);
  // Before the toolkit and the client's own threads start.
  talvo::PrepareTheDesktop(talvo::g_config);
  return wxEntry(argc, argv);
}
