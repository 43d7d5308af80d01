#include "platform/network_return.h"

namespace talvo {

// No monitor is asked on Windows: what waits for the network tries again on its backoff, and at
// once when a page of the service arrives.
void WatchTheDesktopNetwork() {}

}  // namespace talvo
