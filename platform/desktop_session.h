// Which display system the client opens on. Where a session offers both Wayland and X11 it takes
// X11 (XWayland): Wayland has no way for an application to keep its window above others, and the
// translucent border needs X11's visuals. A GDK_BACKEND the user set always wins.
#pragma once

#include <optional>
#include <string>

namespace talvo {

// The GDK_BACKEND to set before GTK starts, from the environment's GDK_BACKEND, WAYLAND_DISPLAY
// and DISPLAY (null when unset); nothing to leave GTK's own choice.
std::optional<std::string> BackendToRequest(const char* gdk_backend, const char* wayland_display,
                                            const char* display);

// Sets it in this process's environment; call before anything starts GTK or a thread.
void RequestDesktopBackend();

}  // namespace talvo
