// Tells whatever waits for the network or the service that it may be back: the desktop's network
// monitor reports the network available, or a part of the client just had an answer from the
// service. Whoever listens tries again at once instead of at the end of its backoff.
#pragma once

#include <functional>

namespace talvo {

// Listens for as long as it lives. Listeners run from the event loop, never inside a report, so
// a listener may start a fetch or a load.
class NetworkReturnListener {
 public:
  explicit NetworkReturnListener(std::function<void()> on_return);
  ~NetworkReturnListener();
  NetworkReturnListener(const NetworkReturnListener&) = delete;
  NetworkReturnListener& operator=(const NetworkReturnListener&) = delete;

 private:
  std::function<void()> on_return_;
};

// Something answered from the service: the others may find it too.
void ReportServiceAnswered();

// Something waits for the network: the desktop's monitor is asked from now on (a start that
// found the service never asks it). Each system has its own (network_monitor_*).
void WatchTheDesktopNetwork();

// The network or the service may be back: the listeners run once from the event loop.
void ReportNetworkReturn();

}  // namespace talvo
