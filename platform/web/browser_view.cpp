#include "platform/web/browser_view.h"

#include "core/service_address.h"

namespace talvo {

BrowserView::~BrowserView() = default;

bool BrowserView::NavigateToWebAddress(const std::u16string& address) {
  if (!IsWebAddress(address)) return false;
  Navigate(address);
  return true;
}

}  // namespace talvo
