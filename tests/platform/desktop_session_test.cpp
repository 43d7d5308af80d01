#include "platform/desktop_session.h"

#include <gtest/gtest.h>

#include <map>

namespace talvo {
namespace {

TEST(DesktopSession, BothDisplaysMeanX11AndTheUsersBackendWins) {
  struct Row {
    const char* gdk_backend;
    const char* wayland_display;
    const char* display;
    std::optional<std::string> requested;
  };
  const Row rows[] = {
      {nullptr, "wayland-0", ":0", "x11"},  // XWayland beside Wayland
      {"", "wayland-0", ":0", "x11"},       // an empty GDK_BACKEND is no choice
      {"wayland", "wayland-0", ":0", std::nullopt},
      {"x11,wayland", "wayland-0", ":0", std::nullopt},
      {nullptr, "wayland-0", nullptr, std::nullopt},  // Wayland alone: GTK's own choice
      {nullptr, "wayland-0", "", std::nullopt},
      {nullptr, nullptr, ":0", std::nullopt},
      {nullptr, "", ":0", std::nullopt},
      {nullptr, nullptr, nullptr, std::nullopt},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(BackendToRequest(row.gdk_backend, row.wayland_display, row.display), row.requested)
        << (row.gdk_backend ? row.gdk_backend : "-") << " "
        << (row.wayland_display ? row.wayland_display : "-") << " "
        << (row.display ? row.display : "-");
  }
}

TEST(DesktopSession, TheEnginesManifestSwitchesAreOursOnlyWhereTheUserSetNone) {
  const std::string hls = "WEBKIT_GST_ENABLE_HLS_SUPPORT", dash = "WEBKIT_GST_ENABLE_DASH_SUPPORT";
  struct Row {
    std::map<std::string, std::string> environment;
    std::vector<std::pair<std::string, std::string>> requested;
  };
  const Row rows[] = {
      {{}, {{hls, "1"}, {dash, "1"}}},
      {{{hls, "0"}}, {{dash, "1"}}},   // the user's "off" is kept
      {{{hls, ""}, {dash, "1"}}, {}},  // so is an empty value
      {{{"WEBKIT_DISABLE_COMPOSITING_MODE", "1"}, {dash, "0"}}, {{hls, "1"}}},
  };
  for (const Row& row : rows) {
    const auto lookup = [&row](const char* name) -> const char* {
      const auto found = row.environment.find(name);
      return found == row.environment.end() ? nullptr : found->second.c_str();
    };
    EXPECT_EQ(MediaSwitchesToRequest(lookup), row.requested) << row.environment.size();
  }
}

}  // namespace
}  // namespace talvo
