// The browser view on the platform's own engine, WebKitGTK: plays media with sound unclicked,
// reports a page's fullscreen requests.
#pragma once

#include <memory>

#include "platform/browser_view.h"

namespace talvo {

std::unique_ptr<BrowserView> CreateWebViewBrowser(wxWindow* parent);

}  // namespace talvo
