// The desktop's network monitor on Linux: GIO's, which NetworkManager or the kernel's routes feed.
#include <gio/gio.h>

#include "core/debug_trace.h"
#include "platform/network_return.h"

namespace talvo {
namespace {

void OnNetworkChanged(GNetworkMonitor*, gboolean available, gpointer) {
  if (!available) return;
  DebugTrace("network", "the desktop reports the network available");
  ReportNetworkReturn();
}

}  // namespace

// Made once, and kept for the process.
void WatchTheDesktopNetwork() {
  static bool watching = false;
  if (watching) return;
  watching = true;
  if (GNetworkMonitor* monitor = g_network_monitor_get_default()) {
    g_signal_connect(monitor, "network-changed", G_CALLBACK(&OnNetworkChanged), nullptr);
  }
}

}  // namespace talvo
