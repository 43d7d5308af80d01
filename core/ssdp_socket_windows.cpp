#include <winsock2.h>
#include <ws2tcpip.h>

#include "core/debug_trace.h"
#include "core/ssdp_socket.h"

namespace talvo {
namespace {

bool SocketsStarted() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

}  // namespace

SsdpSocket::SsdpSocket() {
  if (!SocketsStarted()) return;
  const SOCKET sock = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (sock == INVALID_SOCKET) {
    DebugTrace("cast", "no search socket: " + std::to_string(WSAGetLastError()));
    return;
  }
  handle_ = static_cast<std::intptr_t>(sock);
}

SsdpSocket::~SsdpSocket() {
  if (handle_ != -1) closesocket(static_cast<SOCKET>(handle_));
}

// Through the interface of the default route: the one that reaches the home network on nearly
// every Windows PC.
bool SsdpSocket::SendToGroup(std::string_view datagram) {
  if (handle_ == -1) return false;
  const SOCKET sock = static_cast<SOCKET>(handle_);
  const DWORD ttl = 2;
  setsockopt(sock, IPPROTO_IP, IP_MULTICAST_TTL, reinterpret_cast<const char*>(&ttl), sizeof ttl);
  sockaddr_in group{};
  group.sin_family = AF_INET;
  group.sin_port = htons(1900);
  inet_pton(AF_INET, "239.255.255.250", &group.sin_addr);
  int sent = 0;
  for (int copy = 0; copy < 2; ++copy) {
    if (sendto(sock, datagram.data(), static_cast<int>(datagram.size()), 0,
               reinterpret_cast<const sockaddr*>(&group),
               sizeof group) == static_cast<int>(datagram.size())) {
      ++sent;
    }
  }
  if (sent == 0)
    DebugTrace("cast", "the search went out nowhere: " + std::to_string(WSAGetLastError()));
  return sent > 0;
}

std::optional<std::string> SsdpSocket::Receive(std::chrono::milliseconds wait) {
  if (handle_ == -1) return std::nullopt;
  const SOCKET sock = static_cast<SOCKET>(handle_);
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(sock, &readable);
  timeval bound{0, static_cast<long>(wait.count()) * 1000};
  if (select(0, &readable, nullptr, nullptr, &bound) <= 0) return std::nullopt;
  char buffer[8192];
  const int got = recv(sock, buffer, sizeof buffer, 0);
  if (got <= 0) return std::nullopt;
  return std::string(buffer, static_cast<std::size_t>(got));
}

}  // namespace talvo
