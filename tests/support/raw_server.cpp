#include "tests/support/raw_server.h"

#include <stdexcept>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace talvo::testing {
namespace {

#ifdef _WIN32
using Socket = SOCKET;
using socklen_t = int;
constexpr int kNoSignal = 0;
constexpr int kCloseOnExec = 0;
int Poll(pollfd* waiting, unsigned count, int ms) { return ::WSAPoll(waiting, count, ms); }
int CloseSocket(int fd) { return ::closesocket(static_cast<Socket>(fd)); }
int Accept(int fd) { return static_cast<int>(::accept(static_cast<Socket>(fd), nullptr, nullptr)); }
const bool g_winsock = [] {
  WSADATA data;
  return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}();
#else
using Socket = int;
constexpr int kNoSignal = MSG_NOSIGNAL;
constexpr int kCloseOnExec = SOCK_CLOEXEC;
int Poll(pollfd* waiting, unsigned count, int ms) { return ::poll(waiting, count, ms); }
int CloseSocket(int fd) { return ::close(fd); }
int Accept(int fd) { return ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC); }
#endif

}  // namespace

std::string RawConnection::ReadRequestHead() {
  std::string head;
  char buffer[1024];
  while (head.find("\r\n\r\n") == std::string::npos) {
    const auto n = ::recv(static_cast<Socket>(fd_), buffer, sizeof buffer, 0);
    if (n <= 0) break;
    head.append(buffer, static_cast<std::size_t>(n));
  }
  return head;
}

bool RawConnection::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const auto n =
        ::send(static_cast<Socket>(fd_), bytes.data(), static_cast<int>(bytes.size()), kNoSignal);
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void RawConnection::Reset() {
  linger option{1, 0};
  ::setsockopt(static_cast<Socket>(fd_), SOL_SOCKET, SO_LINGER,
               reinterpret_cast<const char*>(&option), sizeof option);
}

RawServer::RawServer(Script script) : script_(std::move(script)) {
  listen_fd_ = static_cast<int>(::socket(AF_INET, SOCK_STREAM | kCloseOnExec, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  const auto listening = static_cast<Socket>(listen_fd_);
  if (listen_fd_ < 0 || ::bind(listening, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(listening, 8) != 0 ||
      ::getsockname(listening, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("cannot open a raw loopback server");
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

RawServer::~RawServer() {
  stopping_ = true;
  thread_.join();
  CloseSocket(listen_fd_);
}

std::string RawServer::Url(std::string_view target) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(target);
}

// One connection at a time is all the tests need.
void RawServer::Serve() {
  while (!stopping_) {
    pollfd waiting{static_cast<Socket>(listen_fd_), POLLIN, 0};
    if (Poll(&waiting, 1, 20) <= 0) continue;
    const int fd = Accept(listen_fd_);
    if (fd < 0) continue;
    RawConnection connection(fd);
    script_(connection, stopping_);
    CloseSocket(fd);
  }
}

}  // namespace talvo::testing
