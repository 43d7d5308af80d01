// The windows on the desktop this process was started on. ctest runs this test three times: on
// the default desktop, at GDK_SCALE=2 (a 200 % HiDPI desktop) and at Xft.dpi 144 (a 150 % text
// size). TALVO_TEST_DESIGN_PIXEL names how many device pixels one design pixel (15 twips) takes
// there: 1, 2 and 1.5.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <stdlib.h>
#include <wx/button.h>
#include <wx/listbox.h>

#include <cmath>

#include "mainwindow/design.h"
#include "mainwindow/form1.h"
#include "mainwindow/panel_bar.h"
#include "platform/web/browser_view.h"
#include "signin/login_ui.h"
#include "tests/gui/gui_test.h"
#include "tests/support/form1_fixture.h"
#include "tests/support/form1_probe.h"

namespace talvo {
namespace {

using DesktopScaleTest = testing::Form1Fixture;

TEST_F(DesktopScaleTest, EveryLengthIsItsDesignLengthAtTheDesktopsScaleAndTextSize) {
  const char* design_pixel = getenv("TALVO_TEST_DESIGN_PIXEL");
  const double factor = design_pixel != nullptr ? std::atof(design_pixel) : 1.0;
  const auto device = [&](double twips) {
    return static_cast<int>(std::lround(twips / 15 * factor));
  };
  // wx works in GTK's device-independent pixels; GTK draws each at its integer scale.
  const auto device_size = [](wxWindow* window) {
    return window->GetSize() * window->GetDPIScaleFactor();
  };

  StartService();
  Form1* form = &Load();
  // The main window's client area as it asks for it, 13755 x 8700 twips: at scale 2 it is wider
  // than the test screen, and the window manager shrinks it once shown.
  EXPECT_NEAR(form->GetClientSize().x * form->GetDPIScaleFactor(), device(design::kClientWidth), 1);
  EXPECT_NEAR(form->GetClientSize().y * form->GetDPIScaleFactor(), device(design::kClientHeight),
              1);
  form->Show();
  ASSERT_TRUE(WaitFor([&] { return form->IsShownOnScreen(); }));
  const Form1Parts& parts = Probe(*form).Parts();
  const struct {
    const char* name;
    wxWindow* window;
    TwipsRect design;
  } fixed[] = {
      {"Command2", parts.command2, design::kCommand2},
      {"Command3", parts.command3, design::kCommand3},
      {"Image1", parts.image1, design::kImage1},
  };
  for (const auto& control : fixed) {
    EXPECT_NEAR(device_size(control.window).x, device(control.design.width), 1) << control.name;
    EXPECT_NEAR(device_size(control.window).y, device(control.design.height), 1) << control.name;
  }
  EXPECT_NEAR(device_size(parts.list2).x, device(design::kList2.width), 1);
  EXPECT_NEAR(device_size(parts.web_browser2->Window()).y, device(design::kWebBrowser2.height), 1);

  // The login window's client area: 3750 x 1890 twips.
  Probe(*form).Login().Show();
  FrmLogin& login = Probe(*form).Login().Get();
  ASSERT_TRUE(
      WaitFor([&] { return login.IsShownOnScreen() && testing::DeviceSize(&login).x > 0; }));
  EXPECT_NEAR(testing::DeviceSize(&login).x, device(3750), 1);
  EXPECT_NEAR(login.GetClientSize().y * login.GetDPIScaleFactor(), device(1890), 1);
  testing::SaveScreenshot(std::string("desktop-scale-") + (design_pixel ? design_pixel : "1"));
}

// With the desktop's high-contrast theme, the lists, the skin and the window keep the system's
// colours.
TEST_F(DesktopScaleTest, HighContrastLeavesTheSystemsColours) {
  GtkSettings* settings = gtk_settings_get_default();
  gchar* theme = nullptr;
  g_object_get(settings, "gtk-theme-name", &theme, nullptr);
  g_object_set(settings, "gtk-theme-name", "HighContrast", nullptr);
  StartService();
  Form1& form = Start();
  for (wxWindow* window :
       {static_cast<wxWindow*>(&form), static_cast<wxWindow*>(probe().Parts().list1),
        static_cast<wxWindow*>(probe().Parts().list2),
        static_cast<wxWindow*>(probe().Parts().command2)}) {
    EXPECT_FALSE(window->UseBgCol() || window->UseForegroundColour()) << window->GetName();
  }
  g_object_set(settings, "gtk-theme-name", theme, nullptr);
  g_free(theme);
}

}  // namespace
}  // namespace talvo
