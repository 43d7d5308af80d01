// The window tests' main: one wxApp for the whole run, library asserts fail the test.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/weakref.h>
#include <wx/window.h>

#include <chrono>
#include <cstdlib>

#include "core/fetcher.h"
#include "platform/desktop_session_ui.h"
#include "platform/diagnostics.h"
#include "platform/fetch_wait.h"
#include "tests/gui/gui_test.h"
#include "tests/support/scratch.h"

namespace talvo::testing {
namespace {

using talvo::LoopForWaiting;

class TestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
  ADD_FAILURE_AT(file.utf8_str(), line)
      << "wx assert in " << func.utf8_str() << ": " << cond.utf8_str() << " " << msg.utf8_str();
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, int timeout_ms) {
  LoopForWaiting loop;
  return WaitUntil(condition, timeout_ms, [&] {
    // Idle time is when wx runs CallAfter actions and deletes closed windows.
    if (!loop->Pending()) {
      wxTheApp->ProcessPendingEvents();
      wxTheApp->ProcessIdle();
    }
    loop->DispatchTimeout(20);
  });
}

::testing::AssertionResult WaitFor(std::string_view what, const std::function<bool()>& condition,
                                   int timeout_ms) {
  if (WaitFor(condition, timeout_ms)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "waited " << timeout_ms << " ms for " << what;
}

void DestroyAndWait(wxWindow* window) {
  wxWeakRef<wxWindow> ref(window);
  window->Destroy();
  EXPECT_TRUE(WaitFor("the window to be destroyed", [&] { return !ref; }));
}

wxColour PixelAt(const wxImage& shot, const wxPoint& point) {
  return wxColour(shot.GetRed(point.x, point.y), shot.GetGreen(point.x, point.y),
                  shot.GetBlue(point.x, point.y));
}

}  // namespace talvo::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // CTest lists the cases before it runs them, under a time bound: a list needs no display, and
  // a sanitized GTK start with the renderer probe can take longer than that bound on a slow day.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  if (std::getenv("DISPLAY") == nullptr) {
    std::fprintf(stderr, "window tests need a display: run them through scripts/with-display\n");
    return 1;
  }
  // The views draw as the client's do on this machine; on Linux the probe behind that forks, so
  // this comes before the toolkit starts.
  talvo::PrepareTheDesktop(talvo::Config{});
  wxApp::SetInstance(new talvo::testing::TestApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "cannot start wxWidgets on DISPLAY=%s\n", std::getenv("DISPLAY"));
    return 1;
  }
  wxSetAssertHandler(talvo::testing::FailOnAssert);
  // A log message must never stop a test on a modal window.
  delete talvo::RouteLogTo(stderr);
  wxInitAllImageHandlers();
  talvo::InstallEventLoopFetchWait();
  // Failure cases end quickly; no test here waits on a reply longer than this.
  talvo::FetchLimits limits;
  limits.connect = std::chrono::milliseconds(2000);
  limits.total = std::chrono::milliseconds(5000);
  talvo::SetFetchLimits(limits);
  const int result = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
