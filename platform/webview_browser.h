// The browser view on the platform's own engine through wxWebView (WebKitGTK here).
#pragma once

#include <memory>

#include "platform/browser_view.h"

namespace talvo {

std::unique_ptr<BrowserView> CreateWebViewBrowser(wxWindow* parent);

}  // namespace talvo
