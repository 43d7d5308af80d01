// The browser view on Windows: Edge's engine where the system has its runtime, the IE control
// where it does not, and a notice where there is neither.
#include <string>

#include "core/debug_trace.h"
#include "platform/web/no_engine_view.h"
#include "platform/web/page_engine.h"
#include "platform/web/webview_backends_windows.h"
#include "platform/web/webview_browser.h"

namespace talvo {

std::unique_ptr<BrowserView> CreateWebViewBrowser(wxWindow* parent, BrowserView*) {
  static const PageEngine engine = [] {
    const PageEngine chosen = ChoosePageEngine(EdgeRuntimeInstalled(), IeControlAvailable());
    DebugTrace("page", "pages play on " + std::string(PageEngineName(chosen)));
    return chosen;
  }();
  if (engine == PageEngine::kEdge) {
    if (std::unique_ptr<BrowserView> view = CreateEdgeBrowser(parent)) return view;
    DebugTrace("page", "a view of Edge's engine could not be made; the IE control is tried");
  }
  if (engine != PageEngine::kNone && IeControlAvailable()) {
    if (std::unique_ptr<BrowserView> view = CreateIeBrowser(parent)) return view;
  }
  return CreateNoEngineView(parent);
}

}  // namespace talvo
