// A cheap check of a host while something of it is away: a connection made and closed at once,
// no request, every kHostCheckEvery for kHostCheckFor. Each check runs on a thread of its own
// that touches nothing but its own outcome, read from the event loop: a check whose host does
// not resolve or answer never holds the window, nor the program's end.
#pragma once

#include <wx/timer.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace talvo {

class HostProbe {
 public:
  // `checked` gets each check's outcome: whether the host took the connection.
  explicit HostProbe(std::function<void(bool answered)> checked);
  ~HostProbe();
  HostProbe(const HostProbe&) = delete;
  HostProbe& operator=(const HostProbe&) = delete;

  // Checks the host of `address` from now on; nothing changes while it is that address already.
  void Watch(const std::string& address);
  // No more checks, and none that is on its way reports.
  void Stop();

 private:
  struct Outcome {
    std::atomic<int> answered{-1};  // -1 while the check is on its way
  };
  void OnTick();

  std::function<void(bool)> checked_;
  std::string address_;
  std::chrono::steady_clock::time_point since_{};
  std::chrono::steady_clock::time_point last_check_{};
  std::shared_ptr<Outcome> on_its_way_;
  wxTimer timer_;
};

}  // namespace talvo
