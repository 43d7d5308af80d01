#include "tests/support/raw_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace talvo::testing {

std::string RawConnection::ReadRequestHead() {
  std::string head;
  char buffer[1024];
  while (head.find("\r\n\r\n") == std::string::npos) {
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    head.append(buffer, static_cast<std::size_t>(n));
  }
  return head;
}

bool RawConnection::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void RawConnection::Reset() {
  linger option{1, 0};
  ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &option, sizeof option);
}

RawServer::RawServer(Script script) : script_(std::move(script)) {
  listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listen_fd_ < 0 || ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(listen_fd_, 8) != 0 ||
      ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("cannot open a raw loopback server");
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

RawServer::~RawServer() {
  stopping_ = true;
  thread_.join();
  ::close(listen_fd_);
}

std::string RawServer::Url(std::string_view target) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(target);
}

// One connection at a time is all the tests need.
void RawServer::Serve() {
  while (!stopping_) {
    pollfd waiting{listen_fd_, POLLIN, 0};
    if (::poll(&waiting, 1, 20) <= 0) continue;
    const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    RawConnection connection(fd);
    script_(connection, stopping_);
    ::close(fd);
  }
}

}  // namespace talvo::testing
