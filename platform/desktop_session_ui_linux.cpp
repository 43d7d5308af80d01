#include "platform/desktop_session.h"
#include "platform/desktop_session_ui.h"
#include "platform/web/page_memory.h"
#include "platform/web/rendering_path_probe.h"

namespace talvo {

void PrepareTheDesktop(const Config& config) {
  // GTK reads it once, when wxEntry starts it.
  RequestDesktopBackend();
  RequestMediaSwitches();
  PreparePageProcessTunables();
  // The probe runs while GTK starts; the views wait for it.
  StartChoosingRenderingPath(config.acceleration);
}

}  // namespace talvo
