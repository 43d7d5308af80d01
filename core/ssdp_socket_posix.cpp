#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "core/debug_trace.h"
#include "core/ssdp_socket.h"

namespace talvo {
namespace {

// The IPv4 addresses of the interfaces that are up and take multicast, loopback aside: a
// renderer is never on the loopback.
std::vector<in_addr> MulticastInterfaces() {
  std::vector<in_addr> found;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return found;
  for (const ifaddrs* each = list; each != nullptr; each = each->ifa_next) {
    if (each->ifa_addr == nullptr || each->ifa_addr->sa_family != AF_INET) continue;
    const unsigned flags = each->ifa_flags;
    if ((flags & IFF_UP) == 0 || (flags & IFF_MULTICAST) == 0 || (flags & IFF_LOOPBACK) != 0) {
      continue;
    }
    found.push_back(reinterpret_cast<const sockaddr_in*>(each->ifa_addr)->sin_addr);
  }
  freeifaddrs(list);
  return found;
}

}  // namespace

SsdpSocket::SsdpSocket() {
  handle_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (handle_ < 0) DebugTrace("cast", std::string("no search socket: ") + std::strerror(errno));
}

SsdpSocket::~SsdpSocket() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
}

bool SsdpSocket::SendToGroup(std::string_view datagram) {
  const int sock = static_cast<int>(handle_);
  if (sock < 0) return false;
  const unsigned char ttl = 2;
  setsockopt(sock, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl);
  sockaddr_in group{};
  group.sin_family = AF_INET;
  group.sin_port = htons(1900);
  inet_pton(AF_INET, "239.255.255.250", &group.sin_addr);
  int sent = 0;
  // From every interface: a machine on two networks has TVs on either.
  for (const in_addr& from : MulticastInterfaces()) {
    if (setsockopt(sock, IPPROTO_IP, IP_MULTICAST_IF, &from, sizeof from) != 0) continue;
    for (int copy = 0; copy < 2; ++copy) {
      if (sendto(sock, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&group),
                 sizeof group) == static_cast<ssize_t>(datagram.size())) {
        ++sent;
      }
    }
  }
  return sent > 0;
}

std::optional<std::string> SsdpSocket::Receive(std::chrono::milliseconds wait) {
  const int sock = static_cast<int>(handle_);
  pollfd ready{sock, POLLIN, 0};
  if (sock < 0 || poll(&ready, 1, static_cast<int>(wait.count())) <= 0) return std::nullopt;
  char buffer[8192];
  const ssize_t got = recv(sock, buffer, sizeof buffer, 0);
  if (got <= 0) return std::nullopt;
  return std::string(buffer, static_cast<std::size_t>(got));
}

}  // namespace talvo
