// Which display system the client opens on. Where a session offers both Wayland and X11 it takes
// X11 (XWayland): Wayland has no way for an application to keep its window above others, and the
// translucent border needs X11's visuals. A GDK_BACKEND the user set always wins.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace talvo {

// The GDK_BACKEND to set before GTK starts, from the environment's GDK_BACKEND, WAYLAND_DISPLAY
// and DISPLAY (null when unset); nothing to leave GTK's own choice.
std::optional<std::string> BackendToRequest(const char* gdk_backend, const char* wayland_display,
                                            const char* display);

// Sets it in this process's environment; call before anything starts GTK or a thread.
void RequestDesktopBackend();

// The page engine plays an HLS playlist or a DASH manifest handed to <video> or <audio> itself,
// as pages written for phones do, only with WEBKIT_GST_ENABLE_HLS_SUPPORT and
// WEBKIT_GST_ENABLE_DASH_SUPPORT set to 1 in its page processes' environment (GStreamer's
// hlsdemux and dashdemux, from plugins-bad). The variables to set, name and value, given the
// environment's `lookup`: each the user has not set at all. A user's own value, even an empty
// one, is the user's choice and is kept.
std::vector<std::pair<std::string, std::string>> MediaSwitchesToRequest(
    const std::function<const char*(const char*)>& lookup);

// Sets them in this process's environment, which the page processes inherit; call before
// anything starts a thread.
void RequestMediaSwitches();

}  // namespace talvo
