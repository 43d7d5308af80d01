#include "platform/desktop_session.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace talvo
