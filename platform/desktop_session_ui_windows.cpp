// What the Windows desktop offers the client, and what it leaves out.
#include "platform/desktop_session_ui.h"

namespace talvo {

// The system's browser control has no drawing path to choose and no page processes of ours.
void PrepareTheDesktop(const Config&) {}

}  // namespace talvo
