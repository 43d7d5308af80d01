// The view where no browser engine can be had: it says so in its place, loads nothing and reads
// no text; everything else in the window works.
#pragma once

#include <memory>

#include "platform/web/browser_view.h"

namespace talvo {

std::unique_ptr<BrowserView> CreateNoEngineView(wxWindow* parent);

}  // namespace talvo
