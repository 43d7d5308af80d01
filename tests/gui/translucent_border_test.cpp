// The translucent border on a composited screen (xcompmgr on the virtual display): the window's
// background lets a red backdrop through, a page in the playback view never does.
#include <gtest/gtest.h>
#include <wx/image.h>

#include <gdk/gdk.h>
#include <gtk/gtk.h>

#include <functional>

#include "core/fetcher.h"
#include "core/service_address.h"
#include "core/utf.h"
#include "mainwindow/form1.h"
#include "mainwindow/window_options_ui.h"
#include "tests/gui/gui_test.h"
#include "tests/support/client_harness.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/form1_probe.h"
#include "tests/support/loopback_server.h"

namespace talvo {
namespace {

using testing::Probe;

using testing::LoopbackServer;
using testing::PixelAt;
using testing::WaitFor;

bool Composited() { return gdk_screen_is_composited(gdk_screen_get_default()); }

// A compositing manager for the length of one test; a missing xcompmgr throws.
struct Compositor {
  e2e::Process process{{"/usr/bin/xcompmgr"}, {}, "/dev/null", "/dev/null"};
  ~Compositor() {
    process.Terminate();
    WaitFor([] { return !Composited(); });
  }
};

}  // namespace
}  // namespace talvo

// Colours in failure messages as "#RRGGBB".
inline void PrintTo(const wxColour& colour, std::ostream* out) {
  *out << colour.GetAsString(wxC2S_HTML_SYNTAX).utf8_str();
}

namespace talvo {
namespace {

using TranslucentBorder = testing::EngineFixture;

TEST_F(TranslucentBorder, TheBackgroundLetsTheDesktopThroughAndThePageNever) {
  const Compositor compositor;
  ASSERT_TRUE(WaitFor("the screen to become composited", Composited, 10000));

  LoopbackServer server;
  server.Serve("/blue", "<html><body style='margin:0;background:#0000ff'></body></html>");
  server.Start();

  // The desktop behind the window: as a desktop window, the window manager keeps it below every
  // other window, whichever of the two it maps and focuses first.
  auto* backdrop = new wxFrame(nullptr, wxID_ANY, "backdrop", wxPoint(0, 0), wxSize(1600, 1000));
  backdrop->SetBackgroundColour(*wxRED);
  gtk_window_set_type_hint(GTK_WINDOW(backdrop->GetHandle()), GDK_WINDOW_TYPE_HINT_DESKTOP);
  backdrop->Show();

  Form1* form = &StartOnTheEngine(server.HostPort());
  ASSERT_TRUE(Probe(*form).WindowSkin().CanShowTranslucent());
  int loads = 0;
  Probe(*form).WebBrowser1().SetLoadCompleted([&] { ++loads; });
  Probe(*form).WebBrowser1().Navigate(Utf8ToUtf16(server.Url("/blue")));
  ASSERT_TRUE(WaitFor([&] { return loads > 0; }, 20000));

  // Below the channel list, the window's own background; in the middle of the playback view,
  // the page.
  const wxSize client = form->GetClientSize();
  const wxPoint background = form->ClientToScreen(wxPoint(20, client.y - 4));
  const wxWindow* playback = Probe(*form).WebBrowser1().Window();
  const wxPoint page =
      playback->ClientToScreen(wxPoint(playback->GetSize().x / 2, playback->GetSize().y / 2));
  // The compositor paints in its own time: shoot until the screen shows what is expected, or
  // give up and judge the last shot.
  const auto shoot_until = [](const std::string& name,
                              const std::function<bool(const wxImage&)>& shows) {
    wxImage image;
    WaitFor(
        [&] {
          return image.LoadFile(testing::SaveScreenshot(name), wxBITMAP_TYPE_PNG) && shows(image);
        },
        20000);
    return image;
  };
  const wxColour blue(0, 0, 255);
  const auto translucent = [&](const wxImage& shot) {
    return PixelAt(shot, page) == blue &&
           PixelAt(shot, background).Red() > PixelAt(shot, background).Green();
  };
  const auto opaque = [&](const wxImage& shot) {
    return PixelAt(shot, page) == blue && PixelAt(shot, background) == form->GetBackgroundColour();
  };

  // Start-up switched the border on.
  const wxImage on = shoot_until("border-translucent", translucent);
  ASSERT_TRUE(on.IsOk());
  EXPECT_EQ(PixelAt(on, page), blue) << "the page is see-through";
  const wxColour through = PixelAt(on, background);
  EXPECT_GT(through.Red(), through.Green())
      << "the backdrop does not show through the border: " << through.GetAsString().utf8_str();

  Probe(*form).Options().Command3_Click();  // 取消透明
  const wxImage off = shoot_until("border-opaque", opaque);
  ASSERT_TRUE(off.IsOk());
  EXPECT_EQ(PixelAt(off, page), blue);
  EXPECT_EQ(PixelAt(off, background), form->GetBackgroundColour())
      << "the border is still translucent";

  testing::DestroyAndWait(backdrop);
}

}  // namespace
}  // namespace talvo
