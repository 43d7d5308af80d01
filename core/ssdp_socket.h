// The UDP socket of the SSDP search, each system its own way (ssdp_socket_posix.cpp, _windows.cpp).
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace talvo {

class SsdpSocket {
 public:
  SsdpSocket();
  ~SsdpSocket();
  SsdpSocket(const SsdpSocket&) = delete;
  SsdpSocket& operator=(const SsdpSocket&) = delete;

  // Sends `datagram` to the SSDP group, twice (a datagram can be lost), with a TTL that crosses
  // no router; false when it went out nowhere.
  bool SendToGroup(std::string_view datagram);
  // The next datagram that arrives within `wait`; nothing when none does.
  std::optional<std::string> Receive(std::chrono::milliseconds wait);

 private:
  std::intptr_t handle_ = -1;
};

}  // namespace talvo
