// A TCP server on 127.0.0.1 that answers each connection with a scripted byte-level behaviour,
// for peers no HTTP library will play: garbage, resets mid-body, replies that never end.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace talvo::testing {

class RawConnection {
 public:
  explicit RawConnection(int fd) : fd_(fd) {}
  // Reads until the end of the request headers (or the peer goes away).
  std::string ReadRequestHead();
  // False once the peer has gone.
  bool Send(std::string_view bytes);
  // Closes with a TCP reset instead of an orderly close.
  void Reset();

 private:
  int fd_;
};

class RawServer {
 public:
  using Script = std::function<void(RawConnection&, const std::atomic<bool>& stopping)>;
  explicit RawServer(Script script);
  ~RawServer();
  RawServer(const RawServer&) = delete;
  RawServer& operator=(const RawServer&) = delete;

  int port() const { return port_; }
  std::string Url(std::string_view target) const;

 private:
  void Serve();

  Script script_;
  int listen_fd_ = -1;
  int port_ = -1;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace talvo::testing
