// The browser view on the platform's own engine, WebKitGTK: plays media with sound unclicked,
// reports a page's fullscreen requests.
#pragma once

#include <memory>

#include "platform/web/browser_view.h"

namespace talvo {

// `related`: a view of this engine whose page process the new view shares, instead of starting
// one of its own.
std::unique_ptr<BrowserView> CreateWebViewBrowser(wxWindow* parent, BrowserView* related = nullptr);

}  // namespace talvo
