// A cheap check of a host while something of it is away (a page's notice shows, or its stream
// stopped): a connection made and closed at once, no request, every kHostCheckEvery for
// kHostCheckFor. It sees the service come back on a desktop whose network never went away, which
// the desktop's network monitor cannot tell. Each system checks its own way (host_probe_gio,
// host_probe_windows).
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace talvo {

class HostProbe {
 public:
  // `checked` gets each check's outcome, from the event loop: whether the host took the
  // connection.
  explicit HostProbe(std::function<void(bool answered)> checked);
  ~HostProbe();
  HostProbe(const HostProbe&) = delete;
  HostProbe& operator=(const HostProbe&) = delete;

  // Checks the host of `address` from now on; nothing changes while it is that address already.
  void Watch(const std::string& address);
  // No more checks, and none that is on its way reports.
  void Stop();

 private:
  struct Checks;
  std::unique_ptr<Checks> checks_;
};

}  // namespace talvo
