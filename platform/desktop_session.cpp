#include "platform/desktop_session.h"

#include <stdlib.h>

namespace talvo {

namespace {

bool Set(const char* value) { return value != nullptr && *value != '\0'; }

}  // namespace

std::optional<std::string> BackendToRequest(const char* gdk_backend, const char* wayland_display,
                                            const char* display) {
  if (Set(gdk_backend)) return std::nullopt;
  if (Set(wayland_display) && Set(display)) return "x11";
  return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> MediaSwitchesToRequest(
    const std::function<const char*(const char*)>& lookup) {
  std::vector<std::pair<std::string, std::string>> requested;
  for (const char* name : {"WEBKIT_GST_ENABLE_HLS_SUPPORT", "WEBKIT_GST_ENABLE_DASH_SUPPORT"}) {
    if (lookup(name) == nullptr) requested.emplace_back(name, "1");
  }
  return requested;
}

void RequestMediaSwitches() {
  for (const auto& [name, value] : MediaSwitchesToRequest(getenv)) {
    setenv(name.c_str(), value.c_str(), 0);
  }
}

void RequestDesktopBackend() {
  const auto backend =
      BackendToRequest(getenv("GDK_BACKEND"), getenv("WAYLAND_DISPLAY"), getenv("DISPLAY"));
  if (backend) setenv("GDK_BACKEND", backend->c_str(), 1);
}

}  // namespace talvo
