#include "mainwindow/startup_catch_up_ui.h"

#include "core/debug_trace.h"
#include "mainwindow/layout_ui.h"
#include "platform/network_return.h"

namespace talvo {
namespace {

std::string NameOf(StartupCatchUp::Step step) {
  static constexpr const char* kNames[] = {"the sign-in", "the programme list", "the station list"};
  return kNames[step];
}

// Runs one step, contained: a step that throws has not reached the service and is tried again
// with the others, and the catch-up is never left marked as running.
bool Reached(StartupCatchUp::Step step, const StartupCatchUp::Run& run) {
  try {
    return run();
  } catch (const std::exception& error) {
    DebugTrace("start-up", NameOf(step) + " failed: " + error.what());
  } catch (...) {
    DebugTrace("start-up", NameOf(step) + " failed");
  }
  return false;
}

}  // namespace

StartupCatchUp::StartupCatchUp(ViewLayout& layout) : layout_(layout) {}

void StartupCatchUp::Missed(Step step, Run run) {
  DebugTrace("start-up",
             NameOf(step) + " could not reach the service; tried again once it answers");
  missed_[step] = std::move(run);
  WatchTheDesktopNetwork();
  // A step missed while the others are being tried is taken in the same turn.
  if (!running_ && !timer_.IsRunning()) WaitBeforeTrying();
}

void StartupCatchUp::WaitBeforeTrying() {
  timer_.StartOnce(static_cast<int>(retry_.Failed().count() * 1000));
}

// Each step's fetch lets the event loop run: a tick, a network report or a click may come back
// here, and a step missed meanwhile joins the queue in its place.
void StartupCatchUp::TryNow() {
  if (running_ || !retry_.TryNow()) return;
  running_ = true;
  timer_.Stop();
  bool progressed = false;
  while (!missed_.empty()) {
    const auto [step, run] = *missed_.begin();
    if (!Reached(step, run)) break;
    DebugTrace("start-up", NameOf(step) + " caught up");
    missed_.erase(step);
    progressed = true;
  }
  running_ = false;
  if (missed_.empty()) {
    retry_.Ended();
  } else {
    WaitBeforeTrying();
  }
  // The sign-in may have changed the title, which decides the layout.
  if (progressed) layout_.Form_Resize();
}

}  // namespace talvo
