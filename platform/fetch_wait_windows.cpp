#include <wx/app.h>

#include "platform/fetch_wait.h"

namespace talvo {

bool RunIdleTimeTheLoopWouldNot(wxEventLoopBase& loop) {
  if (loop.Pending() || wxTheApp == nullptr) return false;
  wxTheApp->ProcessPendingEvents();
  loop.ProcessIdle();
  return true;
}

}  // namespace talvo
