// What the Windows desktop offers the client, and what it leaves out.
#include "platform/desktop_session_ui.h"
#include "platform/network_return.h"

namespace talvo {

// The system's browser control has no drawing path to choose and no page processes of ours.
void PrepareTheDesktop(const Config&) {}

// No monitor is asked on Windows: what waits for the network tries again on its backoff, and at
// once when a page of the service arrives.
void WatchTheDesktopNetwork() {}

}  // namespace talvo
