// A cheap check of a page's host while its notice shows: a connection made and closed at once,
// no request, every kHostCheckEvery for kHostCheckFor. It sees the service come back on a
// desktop whose network never went away, which the desktop's network monitor cannot tell.
#pragma once

#include <gio/gio.h>

#include <chrono>
#include <functional>
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
  static gboolean OnTime(gpointer self);
  static void OnConnected(GObject* client, GAsyncResult* result, gpointer self);
  void Check();

  std::function<void(bool)> checked_;
  std::string address_;
  std::chrono::steady_clock::time_point since_{};
  guint source_ = 0;
  GCancellable* on_its_way_ = nullptr;
};

}  // namespace talvo
