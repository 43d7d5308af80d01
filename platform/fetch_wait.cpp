#include "platform/fetch_wait.h"

#include <wx/app.h>

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
  LoopForWaiting loop;
  while (!completion.IsDone()) {
    if (RunIdleTimeTheLoopWouldNot(*loop) && completion.IsDone()) break;
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

LoopForWaiting::LoopForWaiting() : loop_(wxEventLoopBase::GetActive()) {
  if (loop_ != nullptr) return;
  own_ = std::make_unique<wxGUIEventLoop>();
  activation_.emplace(own_.get());
  loop_ = own_.get();
}

void InstallEventLoopFetchWait() { SetFetchWaitHook(WaitInEventLoop); }

int FetchWaitDepth() { return g_depth; }

void RunWhenNoFetchWaits(std::function<void()> action) {
  g_when_idle.push_back(std::move(action));
  if (g_depth == 0) PostWhenIdleActions();
}

}  // namespace talvo
