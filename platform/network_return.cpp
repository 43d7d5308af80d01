#include "platform/network_return.h"

#include <wx/app.h>

#include <algorithm>
#include <vector>

namespace talvo {
namespace {

using Listener = std::function<void()>;

std::vector<const Listener*>& Listeners() {
  static std::vector<const Listener*> listeners;
  return listeners;
}

bool g_dispatch_posted = false;

// A listener that goes during the dispatch, or one that arrives, is neither called nor missed.
void Dispatch() {
  g_dispatch_posted = false;
  const std::vector<const Listener*> snapshot = Listeners();
  for (const Listener* listener : snapshot) {
    const auto& now = Listeners();
    if (std::find(now.begin(), now.end(), listener) != now.end()) (*listener)();
  }
}

}  // namespace

// Reports that come together are told once.
void ReportNetworkReturn() {
  if (g_dispatch_posted || wxTheApp == nullptr) return;
  g_dispatch_posted = true;
  wxTheApp->CallAfter([] { Dispatch(); });
}

NetworkReturnListener::NetworkReturnListener(std::function<void()> on_return)
    : on_return_(std::move(on_return)) {
  Listeners().push_back(&on_return_);
}

NetworkReturnListener::~NetworkReturnListener() { std::erase(Listeners(), &on_return_); }

void ReportServiceAnswered() { ReportNetworkReturn(); }

}  // namespace talvo
