#include "platform/fetch_wait.h"

namespace talvo {

bool RunIdleTimeTheLoopWouldNot(wxEventLoopBase&) { return false; }

}  // namespace talvo
