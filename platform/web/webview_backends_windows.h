// The two page engines a Windows view can have; CreateWebViewBrowser chooses between them.
#pragma once

#include <memory>

#include "platform/web/browser_view.h"

namespace talvo {

// Edge's engine for applications: its runtime is installed and WebView2Loader.dll, beside the
// program, finds it.
bool EdgeRuntimeInstalled();
std::unique_ptr<BrowserView> CreateEdgeBrowser(wxWindow* parent);

// The system's IE control (mshtml), in IE 11's newest document mode.
bool IeControlAvailable();
std::unique_ptr<BrowserView> CreateIeBrowser(wxWindow* parent);

}  // namespace talvo
