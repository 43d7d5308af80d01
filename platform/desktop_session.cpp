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

void RequestDesktopBackend() {
  const auto backend =
      BackendToRequest(getenv("GDK_BACKEND"), getenv("WAYLAND_DISPLAY"), getenv("DISPLAY"));
  if (backend) setenv("GDK_BACKEND", backend->c_str(), 1);
}

}  // namespace talvo
