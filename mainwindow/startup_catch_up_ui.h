// What the start could not fetch because the service was unreachable (the sign-in with the saved
// account, the programme list, the station list) is fetched again once the service answers: tried
// after 2, 4, 8 … s (at most 60 s apart), and at once when the network is back or a page of the
// service arrives. The steps run in the start's own order, each until it got its answer; the
// window is then laid out for the level the sign-in found.
#pragma once

#include <wx/timer.h>

#include <functional>
#include <map>

#include "platform/network_return.h"
#include "platform/web/page_outage.h"

namespace talvo {

class ViewLayout;

class StartupCatchUp {
 public:
  // The start's steps that fetch from the service, in their order.
  enum Step { kSignIn, kProgrammeList, kStationList };
  // Runs the step again; false when the service could still not be reached.
  using Run = std::function<bool()>;

  explicit StartupCatchUp(ViewLayout& layout);

  // `step` could not reach the service: `run` takes its place once the service answers.
  void Missed(Step step, Run run);
  bool Pending() const { return !missed_.empty(); }

 private:
  class OneShot : public wxTimer {
   public:
    explicit OneShot(StartupCatchUp& owner) : owner_(owner) {}
    void Notify() override { owner_.TryNow(); }

   private:
    StartupCatchUp& owner_;
  };

  void TryNow();
  void WaitBeforeTrying();

  ViewLayout& layout_;
  std::map<Step, Run> missed_;
  RetryRule retry_;
  bool running_ = false;
  OneShot timer_{*this};
  NetworkReturnListener on_network_return_{[this] { TryNow(); }};
};

}  // namespace talvo
