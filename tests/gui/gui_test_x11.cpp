// The window tests' view of the X server: what the window manager holds about a window, and the
// display's picture.
#include <gtest/gtest.h>
#include <wx/window.h>

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <vector>

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
  // What each window shows once its frame clock has run a paint asked for now: what was just laid
  // out, and what a page had rendered by then.
  std::vector<std::pair<GdkFrameClock*, bool>> paints;
  paints.reserve(wxTopLevelWindows.size());
  for (wxWindow* window : wxTopLevelWindows) {
    GdkWindow* gdk = gtk_widget_get_window(static_cast<GtkWidget*>(window->GetHandle()));
    if (gdk == nullptr || !gdk_window_is_viewable(gdk)) continue;
    auto& [clock, painted] = paints.emplace_back(gdk_window_get_frame_clock(gdk), false);
    g_signal_connect_swapped(clock, "after-paint", G_CALLBACK(+[](bool* done) { *done = true; }),
                             &painted);
    window->Refresh();
  }
  EXPECT_TRUE(WaitFor("the windows to be painted", [&] {
    return std::ranges::all_of(paints, [](auto& p) { return p.second; });
  }));
  for (auto& [clock, painted] : paints) g_signal_handlers_disconnect_by_data(clock, &painted);
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
