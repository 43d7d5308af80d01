// What the process settles before the toolkit starts, each system its own way
// (desktop_session_ui_*.cpp).
#pragma once

#include "platform/config.h"

namespace talvo {

// On Linux: the display system to open on, the page engine's switches for manifests handed to
// the media elements, the page processes' heap settings, and the GL probe
// behind the pages' drawing path, which forks and so comes before any thread. In main(), once the
// configuration is read.
void PrepareTheDesktop(const Config& config);

}  // namespace talvo
