#include "platform/fetch_wait.h"

#include <wx/app.h>
#include <wx/evtloop.h>

#include <memory>
#include <optional>
#include <vector>

#include "core/fetcher.h"

namespace talvo {
namespace {

int g_depth = 0;
std::vector<std::function<void()>> g_when_idle;

void PostWhenIdleActions() {
  if (g_when_idle.empty() || wxTheApp == nullptr) return;
  for (auto& action : g_when_idle) wxTheApp->CallAfter(std::move(action));
  g_when_idle.clear();
}

void WaitInEventLoop(FetchCompletion& completion) {
  ++g_depth;
  completion.OnDone([] { wxWakeUpIdle(); });
  // Before the main loop runs (or in a test) there is no active loop: bring one up for the wait.
  wxEventLoopBase* loop = wxEventLoopBase::GetActive();
  std::unique_ptr<wxGUIEventLoop> own_loop;
  std::optional<wxEventLoopActivator> activation;
  if (loop == nullptr) {
    own_loop = std::make_unique<wxGUIEventLoop>();
    activation.emplace(own_loop.get());
    loop = own_loop.get();
  }
  while (!completion.IsDone()) {
    // Dispatch() reports "quit" only meaningfully inside the running main loop; a loop brought
    // up just for this wait reports it after every turn.
    if (!loop->Dispatch() && wxTheApp != nullptr && wxTheApp->IsMainLoopRunning()) {
      // The application is ending under us: give up the transfer rather than keep it alive.
      SetFetchesEnabled(false);
      break;
    }
  }
  --g_depth;
  if (g_depth == 0) PostWhenIdleActions();
}

}  // namespace

void InstallEventLoopFetchWait() { SetFetchWaitHook(WaitInEventLoop); }

int FetchWaitDepth() { return g_depth; }

void RunWhenNoFetchWaits(std::function<void()> action) {
  g_when_idle.push_back(std::move(action));
  if (g_depth == 0) PostWhenIdleActions();
}

}  // namespace talvo
