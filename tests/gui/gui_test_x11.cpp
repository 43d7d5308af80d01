// The window tests' view of the X server: what the window manager holds about a window, and the
// display's picture.
#include <gtest/gtest.h>
#include <wx/window.h>

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "tests/gui/gui_test.h"
#include "tests/support/scratch.h"

namespace talvo::testing {

namespace {

// What an X tool prints about `window`'s own X window (`tool` -id ID `arguments`).
std::string AskX(wxWindow* window, const std::string& tool, const std::string& arguments) {
  GdkWindow* gdk = gtk_widget_get_window(static_cast<GtkWidget*>(window->GetHandle()));
  if (gdk == nullptr || !GDK_IS_X11_WINDOW(gdk)) return {};
  const std::string command = tool + " -id " + std::to_string(gdk_x11_window_get_xid(gdk)) + " " +
                              arguments + " 2>/dev/null";
  return CommandOutput(command);
}

}  // namespace

std::string WindowProperty(wxWindow* window, const std::string& property) {
  return AskX(window, "xprop", property);
}

wxSize DeviceSize(wxWindow* window) {
  const std::string info = AskX(window, "xwininfo", "");
  std::smatch width;
  std::smatch height;
  if (!std::regex_search(info, width, std::regex("Width: ([0-9]+)")) ||
      !std::regex_search(info, height, std::regex("Height: ([0-9]+)"))) {
    return {-1, -1};
  }
  return {std::stoi(width[1]), std::stoi(height[1])};
}

std::string SaveScreenshot(const std::string& name) {
  // A page whose text is ready may not be painted yet; give the compositor a moment.
  WaitFor([] { return false; }, 500);
  const std::filesystem::path folder = TALVO_ARTIFACT_DIR;
  std::filesystem::create_directories(folder);
  const std::string path = (folder / (name + ".png")).string();
  const std::string command = "import -window root '" + path + "' 2>/dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0) << "screenshot failed: " << command;
  return path;
}

void ClickOnScreen(const wxPoint& point) {
  CommandOutput("xdotool mousemove " + std::to_string(point.x) + " " + std::to_string(point.y) +
                " click 1");
}

bool KeptAbove(wxWindow* window) {
  return WindowProperty(window, "_NET_WM_STATE").find("_NET_WM_STATE_ABOVE") != std::string::npos;
}

}  // namespace talvo::testing
