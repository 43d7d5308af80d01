#include "platform/network_return.h"

#include <gio/gio.h>

#include <algorithm>
#include <vector>

#include "core/debug_trace.h"

namespace talvo {
namespace {

using Listener = std::function<void()>;

std::vector<const Listener*>& Listeners() {
  static std::vector<const Listener*> listeners;
  return listeners;
}

guint g_dispatch_source = 0;

// A listener that goes during the dispatch, or one that arrives, is neither called nor missed.
gboolean OnDispatchTime(gpointer) {
  g_dispatch_source = 0;
  const std::vector<const Listener*> snapshot = Listeners();
  for (const Listener* listener : snapshot) {
    const auto& now = Listeners();
    if (std::find(now.begin(), now.end(), listener) != now.end()) (*listener)();
  }
  return G_SOURCE_REMOVE;
}

// Reports that come together are told once.
void Post() {
  if (g_dispatch_source == 0) g_dispatch_source = g_idle_add(&OnDispatchTime, nullptr);
}

void OnNetworkChanged(GNetworkMonitor*, gboolean available, gpointer) {
  if (!available) return;
  DebugTrace("network", "the desktop reports the network available");
  Post();
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

NetworkReturnListener::NetworkReturnListener(std::function<void()> on_return)
    : on_return_(std::move(on_return)) {
  Listeners().push_back(&on_return_);
}

NetworkReturnListener::~NetworkReturnListener() { std::erase(Listeners(), &on_return_); }

void ReportServiceAnswered() { Post(); }

}  // namespace talvo
